#include "testdb.h"

#include "data/datamodules.h"
#include "support/freshbase.h"

namespace {

class DataModulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        raw.connect();
        sql(raw, QStringLiteral("DELETE FROM T_kult"));
        sql(raw, QStringLiteral("DELETE FROM t_konc"));
        sql(raw, QStringLiteral("DELETE FROM t_head_rar"));
        sql(raw, QStringLiteral("INSERT INTO T_kult (id_kult, name_kult) VALUES (1, 'Томат'), (2, 'Огурец')"));
        sql(raw, QStringLiteral("INSERT INTO t_konc (id_kult, id_el) VALUES (1, 1), (1, 2), (2, 1)"));
        sql(raw, QStringLiteral("INSERT INTO t_head_rar (id_head_rar, name_rar, id_konc) VALUES "
                                "(1, 'Т1', 1), (2, 'Т2', 1), (3, 'О1', 2)"));
        sql(raw, QStringLiteral("INSERT INTO t_save_rar (id_udobra, kol, id_head_rar) VALUES (1, 1, 1), (2, 2, 2), (3, 3, 3)"));
        sql(raw, QStringLiteral("INSERT INTO T_element (id_element, Smallname_element, kof) VALUES (90, 'OX', 1)"));
    }

    FreshBase base;
    Connection raw{QStringLiteral("base.mdb")};
};

TEST_F(DataModulesTest, OpeningFollowsTheCropsAndHidesOxidesFromTheCalculator)
{
    DataModules dm;
    LAYER_OK(dm.openAll());
    Form4Data &f4 = dm.form4;
    EXPECT_EQ(f4.ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Томат"));
    EXPECT_EQ(f4.ADOTable2.recordCount(), 2);
    EXPECT_EQ(f4.T_HEAD_RAR.recordCount(), 2);
    EXPECT_EQ(f4.T_HEAD_RAR.asString(QStringLiteral("name_rar")), QStringLiteral("Т1"));
    EXPECT_EQ(f4.T_save_rar.recordCount(), 1);
    EXPECT_EQ(f4.T_save_rar.asInteger(QStringLiteral("id_udobra")), 1);

    f4.ADOTable3.next();
    EXPECT_EQ(f4.ADOTable2.recordCount(), 1);
    EXPECT_EQ(f4.T_HEAD_RAR.asString(QStringLiteral("name_rar")), QStringLiteral("О1"));
    EXPECT_EQ(f4.T_save_rar.asInteger(QStringLiteral("id_udobra")), 3) << "follows the first solution of that crop";

    f4.T_HEAD_RAR.append();
    EXPECT_EQ(f4.T_HEAD_RAR.asInteger(QStringLiteral("id_konc")), 2) << "the crop's key goes into id_konc";
    f4.T_HEAD_RAR.cancel();

    bool oxideSeen = false;
    f4.T_el.first();
    while (!f4.T_el.eof()) {
        oxideSeen |= f4.T_el.asBoolean(QStringLiteral("kof"));
        f4.T_el.next();
    }
    EXPECT_FALSE(oxideSeen);
    const int oxides = scalar(raw, QStringLiteral("SELECT count(*) FROM T_element WHERE kof")).toInt();
    EXPECT_GE(oxides, 1);
    EXPECT_EQ(f4.T_el.recordCount() + oxides, dm.form3.T_Element.recordCount());
}

TEST_F(DataModulesTest, TheCycleDropsUnpostedEditsAndReturnsToFirstRows)
{
    DataModules dm;
    dm.openAll();
    Form4Data &f4 = dm.form4;
    Dataset &udobra = dm.form2.T_Udobra;
    f4.T_SOS.setMasterLink(&f4.DS_SAVE_RAR, QStringLiteral("id_udobra"), QStringLiteral("id_udobra"));
    udobra.setFilter(QStringLiteral("name_udobra like %zzz%"));
    udobra.setFiltered(true);
    udobra.setSort(QStringLiteral("name_udobra DESC"));
    f4.ADOTable3.next();

    f4.T_rachet.append();
    f4.T_rachet.setValue(QStringLiteral("kol"), 2.5);

    dm.closeAll();
    EXPECT_FALSE(dm.ADOConnection1.isConnected());
    dm.openAll();
    EXPECT_EQ(f4.T_rachet.recordCount(), 0) << "the unposted amount is lost";
    EXPECT_EQ(f4.ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Томат"));
    EXPECT_EQ(f4.T_SOS.masterBinding(), &f4.DS_SAVE_RAR) << "the link of the last run survives";
    EXPECT_TRUE(udobra.isFiltered()) << "the filter is a setting";
    EXPECT_EQ(udobra.filter(), QStringLiteral("name_udobra like %zzz%"));
    EXPECT_TRUE(udobra.sort().isEmpty()) << "a sort set while open is not";
}

TEST_F(DataModulesTest, NamesResolveWhileTheFertilizerListIsSearched)
{
    DataModules dm;
    dm.openAll();
    Form4Data &f4 = dm.form4;
    f4.T_rachet.append();
    f4.T_rachet.setValue(QStringLiteral("id_udobra"), 2);
    f4.T_rachet.post();
    Dataset &udobra = dm.form2.T_Udobra;
    udobra.setFilter(QStringLiteral("name_udobra like %сульфат%"));
    udobra.setFiltered(true);
    ASSERT_GT(udobra.recordCount(), 0);
    f4.T_rachet.refresh();
    EXPECT_EQ(f4.T_rachet.asString(QStringLiteral("name")), QStringLiteral("Калиевая селитра"));
    EXPECT_EQ(f4.T_rachet.asInteger(QStringLiteral("ppm")), 674);
    f4.T_save_rar.first();
    EXPECT_EQ(f4.T_save_rar.asString(QStringLiteral("name")), QStringLiteral("Кальциевая селитра"));
    EXPECT_EQ(f4.T_SOS.masterBinding(), nullptr) << "no run has linked it yet";
}

} // namespace
