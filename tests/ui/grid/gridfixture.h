#pragma once

#include "data/apperror.h"
#include "data/binding.h"
#include "data/connection.h"
#include "data/dataset.h"
#include "support/boxrecorder.h"
#include "support/freshbase.h"

#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <initializer_list>

// Runs a layer step and reports the layer's own text when it fails.
#define GRID_LAYER_OK(stmt)                                                                        \
    do {                                                                                           \
        try {                                                                                      \
            stmt;                                                                                  \
        } catch (const AppError &e) {                                                              \
            FAIL() << #stmt << " failed: " << e.text().toStdString();                              \
        }                                                                                          \
    } while (0)

// A fresh base holding exactly the elements and coefficients the tests count on, with the
// element window's two datasets over them, open.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        {
            Connection raw(QStringLiteral("base.mdb"));
            exec(raw, "DELETE FROM t_kof");
            exec(raw, "DELETE FROM T_element");
            exec(raw, "INSERT INTO T_element (id_element, Smallname_element, fullname_element, kof, "
                      "id_kof) VALUES (?, ?, ?, ?, ?)",
                 {1, QStringLiteral("N"), QStringLiteral("Азот"), false, QVariant()});
            exec(raw, "INSERT INTO T_element (id_element, Smallname_element, fullname_element, kof, "
                      "id_kof) VALUES (?, ?, ?, ?, ?)",
                 {2, QStringLiteral("P"), QStringLiteral("Фосфор"), false, QVariant()});
            exec(raw, "INSERT INTO T_element (id_element, Smallname_element, fullname_element, kof, "
                      "id_kof) VALUES (?, ?, ?, ?, ?)",
                 {3, QStringLiteral("K"), QStringLiteral("Калий"), false, QVariant()});
            exec(raw, "INSERT INTO T_element (id_element, Smallname_element, fullname_element, kof, "
                      "id_kof) VALUES (?, ?, ?, ?, ?)",
                 {7, QStringLiteral("K2O"), QStringLiteral("Оксид калия"), true, 1});
            exec(raw, "INSERT INTO t_kof (id_kof, name_kof, kof, id_element) VALUES (?, ?, ?, ?)",
                 {1, QStringLiteral("K2O->K"), 0.8301, 3});
            exec(raw, "INSERT INTO t_kof (id_kof, name_kof, kof, id_element) VALUES (?, ?, ?, ?)",
                 {2, QStringLiteral("P2O5->P"), 0.4364, 2});
            exec(raw, "INSERT INTO t_kof (id_kof, name_kof, kof, id_element) VALUES (?, ?, ?, ?)",
                 {3, QStringLiteral("Без элемента"), 1.5, QVariant()});
        }
        for (const char *f : {"id_kof", "name_kof", "kof", "id_element"})
            kof.addStoredField(QString::fromLatin1(f));
        for (const char *f :
             {"id_element", "Smallname_element", "fullname_element", "kof", "id_kof"})
            element.addStoredField(QString::fromLatin1(f));
        element.addLookupField(QStringLiteral("name_k"), FieldType::Text, 20,
                               QStringLiteral("id_kof"), &kof, QStringLiteral("id_kof"),
                               QStringLiteral("name_kof"));
        GRID_LAYER_OK(kof.open());
        GRID_LAYER_OK(element.open());
    }

    static void exec(Connection &c, const char *text, std::initializer_list<QVariant> values = {})
    {
        Connection::Statement st(c, QString::fromUtf8(text));
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        st.step();
    }

    // What the file holds, read past every dataset's snapshot.
    static QVariant stored(const char *text, std::initializer_list<QVariant> values = {})
    {
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QString::fromUtf8(text));
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        return st.step() ? st.column(0) : QVariant();
    }

    FreshBase base;
    Connection conn{QStringLiteral("base.mdb")};
    Dataset kof{QStringLiteral("T_KOF"), &conn, QStringLiteral("t_kof")};
    Binding kofBinding{QStringLiteral("DS_KOF"), &kof};
    Dataset element{QStringLiteral("T_Element"), &conn, QStringLiteral("T_element")};
    Binding elementBinding{QStringLiteral("DS_Element"), &element};
};
