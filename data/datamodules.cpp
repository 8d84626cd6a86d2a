#include "datamodules.h"

#include "apperror.h"

#include "fields.h"

#include <exception>
#include <functional>

using namespace Fields;

namespace {

void storedFields(Dataset &ds, std::initializer_list<QString> names)
{
    for (const QString &n : names)
        ds.addStoredField(n);
}

// The lookups through which a composition row reaches its element's coefficient, as
// BaseQueries::compositions finds them for the run, the solver and the stock planner.
void compositionLookups(Dataset &rows, Form3Data &form3)
{
    rows.addLookupField(name, FieldType::Text, 20, id_element, &form3.T_Element, id_element,
                        Smallname_element);
    rows.addLookupField(id_kof, FieldType::Int, 0, id_element, &form3.T_Element, id_element,
                        id_kof);
    rows.addLookupField(kof, FieldType::Double, 0, id_kof, &form3.T_KOF, id_kof, kof);
    rows.addLookupField(id_el, FieldType::Int, 0, id_kof, &form3.T_KOF, id_kof, id_element);
}

} // namespace

Form2Data::Form2Data(Connection &c)
    : T_Udobra(QStringLiteral("T_Udobra"), &c, Tables::t_udobra),
      T_Sostav_Udobra(QStringLiteral("T_Sostav_Udobra"), &c, Tables::T_sostav_udobra),
      DS_UDobRA(QStringLiteral("DS_UDobRA"), &T_Udobra),
      DS_SOSTAV(QStringLiteral("DS_SOSTAV"), &T_Sostav_Udobra)
{
    storedFields(T_Udobra, {id_udobra, name_udobra, ppm});
    storedFields(T_Sostav_Udobra, {id_sostav_udobra, id_element, id_udobra, kol_element});
    // The lookup name_element is declared by DataModules once the element window's data exists.
    T_Sostav_Udobra.setMasterLink(&DS_UDobRA, id_udobra, id_udobra);
}

Form3Data::Form3Data(Connection &c)
    : T_Element(QStringLiteral("T_Element"), &c, Tables::T_element),
      T_KOF(QStringLiteral("T_KOF"), &c, Tables::t_kof),
      DS_Element(QStringLiteral("DS_Element"), &T_Element),
      DS_KOF(QStringLiteral("DS_KOF"), &T_KOF)
{
    storedFields(T_Element, {id_element, Smallname_element, fullname_element, kof, id_kof});
    T_Element.addLookupField(name_k, FieldType::Text, 20, id_kof, &T_KOF, id_kof, name_kof);
    storedFields(T_KOF, {id_kof, name_kof, kof, id_element});
}

Form4Data::Form4Data(Connection &c, Form2Data &form2, Form3Data &form3)
    : T_rachet(QStringLiteral("T_rachet"), &c, Tables::t_rachet),
      T_el(QStringLiteral("T_el"), &c, Tables::T_element),
      T_SOS(QStringLiteral("T_SOS"), &c, Tables::T_sostav_udobra),
      T_save_rar(QStringLiteral("T_save_rar"), &c, Tables::t_save_rar),
      T_HEAD_RAR(QStringLiteral("T_HEAD_RAR"), &c, Tables::t_head_rar),
      ADOTable2(QStringLiteral("ADOTable2"), &c, Tables::t_konc),
      ADOTable3(QStringLiteral("ADOTable3"), &c, Tables::T_kult),
      DS_rachet(QStringLiteral("DS_rachet"), &T_rachet),
      DS_EL(QStringLiteral("DS_EL"), &T_el),
      DS_SOS(QStringLiteral("DS_SOS"), &T_SOS),
      DS_SAVE_RAR(QStringLiteral("DS_SAVE_RAR"), &T_save_rar),
      DS_HEAD_RAR(QStringLiteral("DS_HEAD_RAR"), &T_HEAD_RAR),
      DataSource2(QStringLiteral("DataSource2"), &ADOTable2),
      DataSource3(QStringLiteral("DataSource3"), &ADOTable3)
{
    Dataset &udobra = form2.T_Udobra;
    Dataset &element = form3.T_Element;

    storedFields(T_rachet, {id_rachet, id_udobra, kol});
    T_rachet.addLookupField(name, FieldType::Text, 80, id_udobra, &udobra, id_udobra, name_udobra,
                            true);
    T_rachet.addCalculatedField(kol_pr);
    T_rachet.addLookupField(ppm, FieldType::Int, 0, id_udobra, &udobra, id_udobra, ppm);

    storedFields(T_el, {id_element, Smallname_element, fullname_element, kof, id_kof});
    T_el.setFilter(kof + QStringLiteral("<>true"));
    T_el.setFiltered(true);

    storedFields(T_SOS, {id_sostav_udobra, id_element, id_udobra, kol_element});
    compositionLookups(T_SOS, form3);

    storedFields(T_save_rar, {id_save_rar, id_udobra, kol, id_head_rar});
    T_save_rar.addCalculatedField(kol_temp);
    T_save_rar.addLookupField(name, FieldType::Text, 50, id_udobra, &udobra, id_udobra,
                              name_udobra);
    T_save_rar.addCalculatedField(r_conc);
    T_save_rar.addCalculatedField(rl_conc);
    T_save_rar.setMasterLink(&DS_HEAD_RAR, id_head_rar, id_head_rar);

    storedFields(T_HEAD_RAR, {id_head_rar, name_rar, id_konc, kol_l, konc});
    T_HEAD_RAR.setMasterLink(&DataSource3, id_kult, id_konc);

    storedFields(ADOTable2, {id_konc, vega, cvet, id_kult, id_el});
    ADOTable2.addLookupField(name_el, FieldType::Text, 20, id_el, &element, id_element,
                             Smallname_element);
    ADOTable2.addCalculatedField(vaga_calc);
    ADOTable2.addCalculatedField(cvet_calc);
    ADOTable2.addCalculatedField(raznica_v);
    ADOTable2.addCalculatedField(raznica_c);
    ADOTable2.addStoredField(rachet);
    ADOTable2.addCalculatedField(r_pr);
    ADOTable2.setMasterLink(&DataSource3, id_kult, id_kult);

    storedFields(ADOTable3, {id_kult, name_kult, ph});
}

Form18Data::Form18Data(Connection &c)
    : ADOTable1(QStringLiteral("ADOTable1"), &c, Tables::t_opt),
      DataSource1(QStringLiteral("DataSource1"), &ADOTable1)
{
    for (const FieldDef &f : Schema::table(Tables::t_opt).fields)
        ADOTable1.addStoredField(f.name);
}

OwnData::OwnData(Connection &c, Form2Data &form2, Form3Data &form3)
    : T_voda(QStringLiteral("T_voda"), &c, Tables::t_voda),
      T_sostav_vody(QStringLiteral("T_sostav_vody"), &c, Tables::t_sostav_vody),
      T_SVOISTVA(QStringLiteral("T_SVOISTVA"), &c, Tables::t_svoistva_udobra),
      T_SVOISTVA_ION(QStringLiteral("T_SVOISTVA_ION"), &c, Tables::t_svoistva_udobra),
      DS_voda(QStringLiteral("DS_voda"), &T_voda),
      DS_sostav_vody(QStringLiteral("DS_sostav_vody"), &T_sostav_vody),
      DS_SVOISTVA(QStringLiteral("DS_SVOISTVA"), &T_SVOISTVA),
      DS_SVOISTVA_ION(QStringLiteral("DS_SVOISTVA_ION"), &T_SVOISTVA_ION)
{
    storedFields(T_voda, {id_voda, name_voda, hco3, ph_voda});
    storedFields(T_sostav_vody, {id_sostav_vody, id_voda, id_element, mg_l});
    T_sostav_vody.addLookupField(name_element, FieldType::Text, 10, id_element, &form3.T_Element,
                                 id_element, Smallname_element);
    T_sostav_vody.setMasterLink(&DS_voda, id_voda, id_voda);
    // A row of an analysis never stands without its analysis or its element: the solver would
    // read it as nothing, and the grower would see it vanish.
    T_sostav_vody.setBeforePostHook([](Dataset &rows) {
        if (rows.isNull(id_voda))
            throw AppError(QStringLiteral("Строка состава воды без анализа: сначала сохраните анализ"));
        if (rows.isNull(id_element))
            throw AppError(QStringLiteral("Выберите элемент в строке состава воды"));
    });
    storedFields(T_SVOISTVA, {id_svoistva, id_udobra, rastvorimost, rastvorimost_0, rastvorimost_10,
                              rastvorimost_30, rastvorimost_40, cena, bak, kislota, plotnost});
    T_SVOISTVA.addLookupField(name, FieldType::Text, 50, id_udobra, &form2.T_Udobra, id_udobra,
                              name_udobra, true);
    storedFields(T_SVOISTVA_ION, {id_svoistva, id_udobra, forma_azota, kislota, krepost, plotnost});
    T_SVOISTVA_ION.addLookupField(name, FieldType::Text, 50, id_udobra, &form2.T_Udobra, id_udobra,
                                  name_udobra, true);
}

DataModules::DataModules(const QString &fileName)
    : ADOConnection1(fileName),
      form2(ADOConnection1),
      form3(ADOConnection1),
      form4(ADOConnection1, form2, form3),
      form18(ADOConnection1),
      own(ADOConnection1, form2, form3)
{
    form2.T_Sostav_Udobra.addLookupField(name_element, FieldType::Text, 10, id_element,
                                         &form3.T_Element, id_element, Smallname_element);
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
    if (!ADOConnection1.ownTablesProblem().isEmpty())
        return;
    own.T_voda.open();
    own.T_sostav_vody.open();
    own.T_SVOISTVA.open();
    own.T_SVOISTVA_ION.open();
}

void DataModules::requireOwnTables() const
{
    if (!ADOConnection1.ownTablesProblem().isEmpty()) {
        throw AppError(QStringLiteral("Подбор, анализы воды и баки отключены: %1")
                           .arg(ADOConnection1.ownTablesProblem()));
    }
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
    for (Dataset *ds : {&own.T_voda, &own.T_sostav_vody, &own.T_SVOISTVA, &own.T_SVOISTVA_ION})
        step([ds] { ds->close(); });
    if (first)
        std::rethrow_exception(first);
}
