#pragma once

#include "support/boxrecorder.h"
#include "support/freshbase.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

class DataGrid;
class DataGridColumn;
class DataModules;
class DataSpinEdit;
class Dataset;
class QAction;
class QPushButton;
class QWidget;
class TForm4;
class TForm5;

// The whole program as start-up builds it, on a fresh copy of the default base with the test
// crops (testcrops.h): every window created, the main window shown (which opens the database
// and applies the options), and the calculator shown at its built size. Helpers type and click
// as the grower would and read back what the base file holds.
class SavedSolutionsFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    DataModules &data();
    TForm4 &form4();
    TForm5 &form5();

    DataGrid *grid(const QString &name) const;
    DataGridColumn *column(const QString &name) const;
    DataSpinEdit *litresEditor() const;
    QAction *action(const QString &name) const;
    QPushButton *dialogButton(const QString &name) const;
    QString dialogText() const;

    // The working composition and the fertilizer list, through their datasets.
    int fertilizerId(const QString &name);
    void selectFertilizer(const QString &name);
    void addToComposition(const QString &name, double grams);
    void setPercentageText(const QString &text);

    // Types text key by key; QTest's own keyClicks takes ASCII only.
    static void typeText(QWidget *widget, const QString &text);

    // The calculator's "Сохранить", then a name typed into the dialog and its "Сохранить".
    void saveAs(const QString &name);
    void typeInDialog(const QString &text);
    void clickDialogSave();

    // The solution list: a click on a row, an arrow key.
    void clickSolution(int row);
    void typeLitres(const QString &text);

    // What the base file holds, in the order rows were stored.
    struct StoredSolution
    {
        qint64 id = 0;
        QVariant name;
        QVariant crop;
        QVariant litres;
        QVariant percentage;
    };
    struct StoredRow
    {
        QVariant fertilizer;
        QVariant grams;
    };
    QList<StoredSolution> storedSolutions();
    QList<StoredRow> storedRows(qint64 solution);
    QList<StoredRow> storedComposition();

    // rachet of the selected crop's target rows by element symbol.
    QHash<QString, double> computed();
    int currentCropId();

    FreshBase base{FreshBase::Crops::Test};
    BoxRecorder boxes;
};
