#include "calculator/calculatorfixture.h"

#include "calc/recipefile/recipefile.h"
#include "data/basequeries.h"
#include "data/fields.h"
#include "recipes/importdialog.h"
#include "reference/tform2.h"
#include "recipes/recipeexportdialog.h"
#include "ui/filechooser.h"

#include <QComboBox>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

// "Экспорт..." and "Импорт..." of the calculator, driven through their controls in the running
// program: the file written, the preview, the names the grower edits, the base after an import.
namespace {

using namespace ReadmeRecipe;

class RecipeWindows : public CalculatorTest
{
protected:
    void SetUp() override
    {
        CalculatorTest::SetUp();
        FileChooser::setResponder([this](const FileChooser::FileRequest &r) {
            requests.append(r);
            return answer;
        });
    }

    void TearDown() override
    {
        FileChooser::setResponder({});
        CalculatorTest::TearDown();
    }

    // Runs `inside` on the modal dialog the press opens, once it is up.
    template<typename Dialog>
    static void pressWithDialog(const char *button, const std::function<void(Dialog &)> &inside)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr) << "no dialog";
            seen = true;
            inside(*d);
            if (d->isVisible())
                d->reject();
        });
        press(button);
        EXPECT_TRUE(seen);
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QList<FileChooser::FileRequest> requests;
    QString answer;
    QTemporaryDir dir;
};

TEST_F(RecipeWindows, ExportWritesTheWorkingCompositionAtItsPercentage)
{
    typeReadmeRecipe();
    answer = dir.filePath(QStringLiteral("рабочий.json"));
    pressWithDialog<RecipeExportDialog>("ButtonExportRecipe", [](RecipeExportDialog &d) {
        auto *source = d.findChild<QComboBox *>(QStringLiteral("SourceBox"));
        ASSERT_NE(source, nullptr);
        source->setCurrentIndex(0);
        d.findChild<QPushButton *>(QStringLiteral("ButtonSave"))->click();
    });
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().purpose, FileChooser::Purpose::Save);

    const RecipeFile::Recipe r = RecipeFile::read(bytesOf(answer));
    EXPECT_EQ(r.percentage, Form4->percentage());
    const QList<BaseRows::RecipeLine> working = BaseQueries(data().ADOConnection1).workingComposition();
    ASSERT_EQ(r.fertilizers.size(), working.size());
    for (qsizetype i = 0; i < working.size(); ++i) {
        EXPECT_EQ(r.fertilizers.at(i).name, working.at(i).name);
        EXPECT_EQ(r.fertilizers.at(i).gramsPerLitre, working.at(i).grams);
        EXPECT_FALSE(r.fertilizers.at(i).composition.isEmpty());
    }
    ASSERT_TRUE(r.crop.has_value());
    EXPECT_EQ(r.crop->name, f4().ADOTable3.asString(Fields::name_kult));
}

TEST_F(RecipeWindows, ImportPreviewLetsTheGrowerNameTheNewFertilizer)
{
    // A file whose potassium nitrate has another label than the base's.
    RecipeFile::Recipe recipe;
    recipe.name = QStringLiteral("От соседа");
    const auto fertilizer = [](const char *name, QMap<QString, double> label, double grams) {
        RecipeFile::Fertilizer f;
        f.name = QString::fromUtf8(name);
        f.composition = std::move(label);
        f.gramsPerLitre = grams;
        return f;
    };
    recipe.fertilizers = {fertilizer("Калиевая селитра", {{QStringLiteral("K2O"), 44}, {QStringLiteral("N-NO3"), 13}}, 0.5),
                          fertilizer("Кальциевая селитра", {}, 0.9)};
    answer = dir.filePath(QStringLiteral("сосед.json"));
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(RecipeFile::write(recipe));
    f.close();
    const QVariant before = stored("SELECT count(*) FROM t_udobra");

    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    pressWithDialog<ImportDialog>("ButtonImportRecipe", [&](ImportDialog &d) {
        auto *table = d.findChild<QTableWidget *>(QStringLiteral("ImportTable"));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 2);
        EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("Калиевая селитра (2)"));
        EXPECT_TRUE(table->item(0, 2)->flags() & Qt::ItemIsEditable);
        // The base's own name is refused, and nothing is written.
        table->item(0, 2)->setText(QStringLiteral("Кальциевая селитра"));
        table->item(1, 2)->setText(QStringLiteral("Кальциевая б/к"));
        d.findChild<QPushButton *>(QStringLiteral("ButtonImport"))->click();
        EXPECT_EQ(boxes.count(), 1);
        EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("уже есть в базе"))) << boxes.last().text.toStdString();
        EXPECT_EQ(stored("SELECT count(*) FROM t_udobra"), before);
        EXPECT_TRUE(d.isVisible());

        table->item(0, 2)->setText(QStringLiteral("Калиевая селитра соседа"));
        d.findChild<QPushButton *>(QStringLiteral("ButtonImport"))->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(stored("SELECT count(*) FROM t_udobra").toInt(), before.toInt() + 2);
    EXPECT_EQ(stored("SELECT kol_element FROM T_sostav_udobra s JOIN t_udobra u USING (id_udobra) "
                     "JOIN T_element e USING (id_element) WHERE u.name_udobra = 'Калиевая селитра соседа' "
                     "AND e.Smallname_element = 'K2O'").toDouble(), 44);
    // The windows read the base again: the calculator's list shows the new fertilizer.
    EXPECT_GE(rowOf(grid("dxDBGrid1"), "dxDBGrid1name_udobra", QStringLiteral("Калиевая селитра соседа")), 0);
}

TEST_F(RecipeWindows, ARefusedFileIsNamedWithItsLineAndNoPreviewOpens)
{
    answer = dir.filePath(QStringLiteral("плохой.json"));
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\n  \"format\": \"vernolat-recipe\",\n  \"version\": 1,\n  \"name\": \"x\",\n  \"fertilizers\": 5\n}");
    f.close();
    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    press("ButtonImportRecipe");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("строка 5: fertilizers: ожидается массив")))
        << boxes.last().text.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace

namespace {

// The fertilizer window's CSV buttons.
class FertilizerCsvButtons : public RecipeWindows
{
protected:
    static void pressInFertilizers(const char *name)
    {
        Form2->show();
        auto *b = Form2->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

TEST_F(FertilizerCsvButtons, ExportWritesTheBooksAndAnEditedListComesBack)
{
    answer = dir.filePath(QStringLiteral("справочник.csv"));
    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    pressInFertilizers("ButtonExportCsv");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("справочник - культуры.csv"))) << boxes.last().text.toStdString();
    for (const char *file : {"справочник.csv", "справочник - элементы.csv", "справочник - культуры.csv"})
        EXPECT_FALSE(bytesOf(dir.filePath(QString::fromUtf8(file))).isEmpty()) << file;

    // The grower adds a row in a spreadsheet and reads the list back: only that row is new.
    QByteArray list = bytesOf(answer);
    const QByteArray header = list.left(list.indexOf("\r\n"));
    const qsizetype columns = header.count(';');
    list += "Своя смесь;12" + QByteArray(columns - 1, ';') + "\r\n";
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(list);
    f.close();
    const int before = stored("SELECT count(*) FROM t_udobra").toInt();
    bool previewed = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<ImportDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        previewed = true;
        EXPECT_EQ(d->plan().fertilizers.size(), before + 1);
        EXPECT_EQ(std::count_if(d->plan().fertilizers.cbegin(), d->plan().fertilizers.cend(),
                                [](const RecipeImport::FertilizerStep &s) { return s.decision != RecipeImport::Decision::Reuse; }),
                  1);
        d->findChild<QPushButton *>(QStringLiteral("ButtonImport"))->click();
    });
    pressInFertilizers("ButtonImportCsv");
    EXPECT_TRUE(previewed);
    EXPECT_EQ(stored("SELECT count(*) FROM t_udobra").toInt(), before + 1);
    EXPECT_EQ(stored("SELECT count(*) FROM T_sostav_udobra s JOIN t_udobra u USING (id_udobra) "
                     "WHERE u.name_udobra = 'Своя смесь'").toInt(), 1);
}

} // namespace
