#pragma once

#include "binding.h"
#include "connection.h"
#include "dataset.h"

// Each window's datasets and bindings, owned apart from its widgets so that the engine and the
// tests can work on them alone. Names are those the windows use.

// TForm2, fertilizers.
class Form2Data
{
public:
    explicit Form2Data(Connection &connection);
    Dataset T_Udobra;        // the fertilizer query: the three fields of t_udobra, updatable
    Dataset T_Sostav_Udobra; // detail of DS_UDobRA by id_udobra
    Binding DS_UDobRA;
    Binding DS_SOSTAV;
};

// TForm3, elements and coefficients.
class Form3Data
{
public:
    explicit Form3Data(Connection &connection);
    Dataset T_Element;
    Dataset T_KOF;
    Binding DS_Element;
    Binding DS_KOF;
};

// TForm4, the calculator.
class Form4Data
{
public:
    Form4Data(Connection &connection, Form2Data &form2, Form3Data &form3);
    Dataset T_rachet;
    Dataset T_el;
    Dataset T_SOS;
    Dataset T_save_rar;
    Dataset T_HEAD_RAR;
    Dataset ADOTable2; // t_konc, detail of the crops
    Dataset ADOTable3; // T_kult
    Binding DS_rachet;
    Binding DS_EL;
    Binding DS_SOS;
    Binding DS_SAVE_RAR;
    Binding DS_HEAD_RAR;
    Binding DataSource2;
    Binding DataSource3;
};

// TForm18, options.
class Form18Data
{
public:
    explicit Form18Data(Connection &connection);
    Dataset ADOTable1; // t_opt, one row
    Binding DataSource1;
};

// The datasets of our own windows beside the specified ones, over the tables of our own: the
// water analyses ("Анализ воды") with their element rows, which the water window edits, and the
// fertilizer properties the stock window edits. Computing reads them by key (BaseQueries).
class OwnData
{
public:
    OwnData(Connection &connection, Form2Data &form2, Form3Data &form3);
    Dataset T_voda;
    Dataset T_sostav_vody; // detail of DS_voda by id_voda
    Dataset T_SVOISTVA;    // t_svoistva_udobra, the fertilizer's name looked up
    Binding DS_voda;
    Binding DS_sostav_vody;
    Binding DS_SVOISTVA;
};

// All of them over the one connection, in the windows' creation order.
class DataModules
{
public:
    explicit DataModules(const QString &fileName = Schema::FileName);

    Connection ADOConnection1; // TForm1's
    Form2Data form2;
    Form3Data form3;
    Form4Data form4;
    Form18Data form18;
    OwnData own;

    // Every dataset of every window, opened and closed in the database cycle's orders
    // (without the layout file, which the application adds); our own tables last, and not at
    // all while they are unusable (Connection::ownTablesProblem).
    void openAll();
    void closeAll();

    // For the windows built on our own tables: throws AppError naming what is wrong with them.
    void requireOwnTables() const;
};
