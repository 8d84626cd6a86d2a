#include "datamodules.h"

#include <exception>
#include <functional>

namespace {

const QString S(const char *s) { return QString::fromLatin1(s); }

void storedFields(Dataset &ds, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        ds.addStoredField(S(n));
}

} // namespace

Form2Data::Form2Data(Connection &c)
    : T_Udobra(S("T_Udobra"), &c, S("t_udobra")),
      T_Sostav_Udobra(S("T_Sostav_Udobra"), &c, S("T_sostav_udobra")),
      DS_UDobRA(S("DS_UDobRA"), &T_Udobra),
      DS_SOSTAV(S("DS_SOSTAV"), &T_Sostav_Udobra)
{
    T_Udobra.setQueryText(Schema::FertilizerQuery);
    storedFields(T_Udobra, {"id_udobra", "name_udobra", "ppm"});
    storedFields(T_Sostav_Udobra, {"id_sostav_udobra", "id_element", "id_udobra", "kol_element"});
    // The lookup name_element is declared by DataModules once the element window's data exists.
    T_Sostav_Udobra.setMasterLink(&DS_UDobRA, S("id_udobra"), S("id_udobra"));
}

Form3Data::Form3Data(Connection &c)
    : T_Element(S("T_Element"), &c, S("T_element")),
      T_KOF(S("T_KOF"), &c, S("t_kof")),
      DS_Element(S("DS_Element"), &T_Element),
      DS_KOF(S("DS_KOF"), &T_KOF)
{
    storedFields(T_Element, {"id_element", "Smallname_element", "fullname_element", "kof", "id_kof"});
    T_Element.addLookupField(S("name_k"), FieldType::Text, 20, S("id_kof"), &T_KOF, S("id_kof"),
                             S("name_kof"));
    storedFields(T_KOF, {"id_kof", "name_kof", "kof", "id_element"});
}

Form4Data::Form4Data(Connection &c, Form2Data &form2, Form3Data &form3)
    : T_rachet(S("T_rachet"), &c, S("t_rachet")),
      T_el(S("T_el"), &c, S("T_element")),
      T_SOS(S("T_SOS"), &c, S("T_sostav_udobra")),
      T_save_rar(S("T_save_rar"), &c, S("t_save_rar")),
      T_HEAD_RAR(S("T_HEAD_RAR"), &c, S("t_head_rar")),
      ADOTable2(S("ADOTable2"), &c, S("t_konc")),
      ADOTable3(S("ADOTable3"), &c, S("T_kult")),
      DS_rachet(S("DS_rachet"), &T_rachet),
      DS_EL(S("DS_EL"), &T_el),
      DS_SOS(S("DS_SOS"), &T_SOS),
      DS_SAVE_RAR(S("DS_SAVE_RAR"), &T_save_rar),
      DS_HEAD_RAR(S("DS_HEAD_RAR"), &T_HEAD_RAR),
      DataSource2(S("DataSource2"), &ADOTable2),
      DataSource3(S("DataSource3"), &ADOTable3)
{
    Dataset &udobra = form2.T_Udobra;
    Dataset &element = form3.T_Element;
    Dataset &kof = form3.T_KOF;

    storedFields(T_rachet, {"id_rachet", "id_udobra", "kol"});
    T_rachet.addLookupField(S("name"), FieldType::Text, 80, S("id_udobra"), &udobra, S("id_udobra"),
                            S("name_udobra"), true);
    T_rachet.addCalculatedField(S("kol_pr"));
    T_rachet.addLookupField(S("ppm"), FieldType::Int, 0, S("id_udobra"), &udobra, S("id_udobra"),
                            S("ppm"));

    storedFields(T_el, {"id_element", "Smallname_element", "fullname_element", "kof", "id_kof"});
    T_el.setFilter(S("kof<>true"));
    T_el.setFiltered(true);

    storedFields(T_SOS, {"id_sostav_udobra", "id_element", "id_udobra", "kol_element"});
    T_SOS.addLookupField(S("name"), FieldType::Text, 20, S("id_element"), &element, S("id_element"),
                         S("Smallname_element"));
    T_SOS.addLookupField(S("id_kof"), FieldType::Int, 0, S("id_element"), &element, S("id_element"),
                         S("id_kof"));
    T_SOS.addLookupField(S("kof"), FieldType::Double, 0, S("id_kof"), &kof, S("id_kof"), S("kof"));
    T_SOS.addLookupField(S("id_el"), FieldType::Int, 0, S("id_kof"), &kof, S("id_kof"),
                         S("id_element"));

    storedFields(T_save_rar, {"id_save_rar", "id_udobra", "kol", "id_head_rar"});
    T_save_rar.addCalculatedField(S("kol_temp"));
    T_save_rar.addLookupField(S("name"), FieldType::Text, 50, S("id_udobra"), &udobra,
                              S("id_udobra"), S("name_udobra"));
    T_save_rar.addCalculatedField(S("r_conc"));
    T_save_rar.addCalculatedField(S("rl_conc"));
    T_save_rar.setMasterLink(&DS_HEAD_RAR, S("id_head_rar"), S("id_head_rar"));

    storedFields(T_HEAD_RAR, {"id_head_rar", "name_rar", "id_konc", "kol_l", "konc"});
    T_HEAD_RAR.setMasterLink(&DataSource3, S("id_kult"), S("id_konc"));

    storedFields(ADOTable2, {"id_konc", "vega", "cvet", "id_kult", "id_el"});
    ADOTable2.addLookupField(S("name_el"), FieldType::Text, 20, S("id_el"), &element,
                             S("id_element"), S("Smallname_element"));
    ADOTable2.addCalculatedField(S("vaga_calc"));
    ADOTable2.addCalculatedField(S("cvet_calc"));
    ADOTable2.addCalculatedField(S("raznica_v"));
    ADOTable2.addCalculatedField(S("raznica_c"));
    ADOTable2.addStoredField(S("rachet"));
    ADOTable2.addCalculatedField(S("r_pr"));
    ADOTable2.setMasterLink(&DataSource3, S("id_kult"), S("id_kult"));

    storedFields(ADOTable3, {"id_kult", "name_kult", "ph"});
}

Form18Data::Form18Data(Connection &c)
    : ADOTable1(S("ADOTable1"), &c, S("t_opt")),
      DataSource1(S("DataSource1"), &ADOTable1)
{
    for (const FieldDef &f : Schema::table(S("t_opt")).fields)
        ADOTable1.addStoredField(f.name);
}

DataModules::DataModules(const QString &fileName)
    : ADOConnection1(fileName),
      form2(ADOConnection1),
      form3(ADOConnection1),
      form4(ADOConnection1, form2, form3),
      form18(ADOConnection1)
{
    form2.T_Sostav_Udobra.addLookupField(S("name_element"), FieldType::Text, 10, S("id_element"),
                                         &form3.T_Element, S("id_element"),
                                         S("Smallname_element"));
}

void DataModules::openAll()
{
    form18.ADOTable1.open();
    form4.T_rachet.open();
    form4.T_SOS.open();
    form4.T_HEAD_RAR.open();
    form4.T_save_rar.open();
    form4.T_el.open();
    form3.T_Element.open();
    form3.T_KOF.open();
    form2.T_Udobra.open();
    form2.T_Sostav_Udobra.open();
    ADOConnection1.connect();
    form4.ADOTable3.open();
    form4.ADOTable2.open();
}

void DataModules::closeAll()
{
    // Every step runs whatever an earlier one raised, so that no instance is left open and
    // the connection ends closed; the first error is reported afterwards.
    std::exception_ptr first;
    const auto step = [&first](const std::function<void()> &f) {
        try {
            f();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    for (Dataset *ds : {&form18.ADOTable1, &form4.T_rachet, &form4.T_el, &form4.T_SOS,
                        &form4.T_HEAD_RAR, &form4.T_save_rar, &form2.T_Udobra, &form3.T_Element,
                        &form3.T_KOF, &form2.T_Sostav_Udobra})
        step([ds] { ds->close(); });
    step([this] { ADOConnection1.disconnect(); });
    step([this] { form4.ADOTable3.close(); });
    step([this] { form4.ADOTable2.close(); });
    if (first)
        std::rethrow_exception(first);
}
