#pragma once

#include <QString>

// Table and field names, typed once. Every layer above data/ names a table or a field through
// these constants, so a misspelt name fails to compile instead of reading as an empty value.
// The constants keep the stored names' own spelling and case.

namespace Tables {

inline const QString T_element = QStringLiteral("T_element");
inline const QString t_kof = QStringLiteral("t_kof");
inline const QString t_udobra = QStringLiteral("t_udobra");
inline const QString T_sostav_udobra = QStringLiteral("T_sostav_udobra");
inline const QString t_rachet = QStringLiteral("t_rachet");
inline const QString T_kult = QStringLiteral("T_kult");
inline const QString t_konc = QStringLiteral("t_konc");
inline const QString t_head_rar = QStringLiteral("t_head_rar");
inline const QString t_save_rar = QStringLiteral("t_save_rar");
inline const QString t_opt = QStringLiteral("t_opt");

} // namespace Tables

namespace Fields {

// T_element
inline const QString id_element = QStringLiteral("id_element");
inline const QString Smallname_element = QStringLiteral("Smallname_element");
inline const QString fullname_element = QStringLiteral("fullname_element");
inline const QString kof = QStringLiteral("kof"); // the oxide flag here, the factor in t_kof
inline const QString id_kof = QStringLiteral("id_kof");

// t_kof
inline const QString name_kof = QStringLiteral("name_kof");

// t_udobra
inline const QString id_udobra = QStringLiteral("id_udobra");
inline const QString name_udobra = QStringLiteral("name_udobra");
inline const QString ppm = QStringLiteral("ppm");

// T_sostav_udobra
inline const QString id_sostav_udobra = QStringLiteral("id_sostav_udobra");
inline const QString kol_element = QStringLiteral("kol_element");

// t_rachet and t_save_rar
inline const QString id_rachet = QStringLiteral("id_rachet");
inline const QString kol = QStringLiteral("kol");
inline const QString id_save_rar = QStringLiteral("id_save_rar");

// T_kult
inline const QString id_kult = QStringLiteral("id_kult");
inline const QString name_kult = QStringLiteral("name_kult");
inline const QString ph = QStringLiteral("ph");

// t_konc
inline const QString id_konc = QStringLiteral("id_konc");
inline const QString vega = QStringLiteral("vega");
inline const QString cvet = QStringLiteral("cvet");
inline const QString id_el = QStringLiteral("id_el");
inline const QString rachet = QStringLiteral("rachet");

// t_head_rar
inline const QString id_head_rar = QStringLiteral("id_head_rar");
inline const QString name_rar = QStringLiteral("name_rar");
inline const QString kol_l = QStringLiteral("kol_l");
inline const QString konc = QStringLiteral("konc");

// t_opt
inline const QString avto = QStringLiteral("avto");
inline const QString ppm1 = QStringLiteral("ppm1");
inline const QString ppm2 = QStringLiteral("ppm2");
inline const QString kult = QStringLiteral("kult");
inline const QString maxim = QStringLiteral("maxim");
inline QString c(int n) { return QStringLiteral("c%1").arg(n); }   // c11, c21..c24, c31..c39
inline QString cl(int n) { return QStringLiteral("cl%1").arg(n); } // cl1..cl14

// Lookup fields of the instances
inline const QString name = QStringLiteral("name");                 // a fertilizer's or element's name
inline const QString name_k = QStringLiteral("name_k");             // T_Element: coefficient name
inline const QString name_el = QStringLiteral("name_el");           // ADOTable2: element name
inline const QString name_element = QStringLiteral("name_element"); // T_Sostav_Udobra: element name

// Calculated fields of the instances
inline const QString kol_pr = QStringLiteral("kol_pr");
inline const QString vaga_calc = QStringLiteral("vaga_calc");
inline const QString cvet_calc = QStringLiteral("cvet_calc");
inline const QString r_pr = QStringLiteral("r_pr");
inline const QString raznica_v = QStringLiteral("raznica_v");
inline const QString raznica_c = QStringLiteral("raznica_c");
inline const QString kol_temp = QStringLiteral("kol_temp");
inline const QString r_conc = QStringLiteral("r_conc");
inline const QString rl_conc = QStringLiteral("rl_conc");

} // namespace Fields

// Tables of our own beside the ten: water analyses and fertilizer properties.
namespace Tables {

inline const QString t_voda = QStringLiteral("t_voda");
inline const QString t_sostav_vody = QStringLiteral("t_sostav_vody");
inline const QString t_svoistva_udobra = QStringLiteral("t_svoistva_udobra");
inline const QString t_svoistva_kult = QStringLiteral("t_svoistva_kult");

} // namespace Tables

namespace Fields {

// t_voda: a named water analysis
inline const QString id_voda = QStringLiteral("id_voda");
inline const QString name_voda = QStringLiteral("name_voda");
inline const QString hco3 = QStringLiteral("hco3"); // mg/L of HCO3-, the water's alkalinity
inline const QString ph_voda = QStringLiteral("ph_voda");

// t_sostav_vody: mg/L of one element in one analysis
inline const QString id_sostav_vody = QStringLiteral("id_sostav_vody");
inline const QString mg_l = QStringLiteral("mg_l");

// t_svoistva_udobra: one row per fertilizer (id_udobra)
inline const QString id_svoistva = QStringLiteral("id_svoistva");
inline const QString rastvorimost = QStringLiteral("rastvorimost"); // g per litre of water, 20 °C
inline const QString cena = QStringLiteral("cena");                 // price per kg
inline const QString bak = QStringLiteral("bak");                   // stock tank, see TankChoice
// the same solubility at 0, 10, 30 and 40 °C; empty where the curve is not known
inline const QString rastvorimost_0 = QStringLiteral("rastvorimost_0");
inline const QString rastvorimost_10 = QStringLiteral("rastvorimost_10");
inline const QString rastvorimost_30 = QStringLiteral("rastvorimost_30");
inline const QString rastvorimost_40 = QStringLiteral("rastvorimost_40");
inline const QString forma_azota = QStringLiteral("forma_azota"); // of plain N, see NitrogenForm
inline const QString kislota = QStringLiteral("kislota");         // a liquid acid
inline const QString krepost = QStringLiteral("krepost");         // an acid's strength, % by mass
inline const QString plotnost = QStringLiteral("plotnost");       // a liquid's density, g/mL

// t_svoistva_kult: one row per crop (id_kult)
inline const QString id_svoistva_kult = QStringLiteral("id_svoistva_kult");
inline const QString ec_vega = QStringLiteral("ec_vega");     // mS/cm at 25 °C, vegetative stage
inline const QString ec_cvet = QStringLiteral("ec_cvet");     // mS/cm at 25 °C, flowering stage
inline const QString nh4_dolya = QStringLiteral("nh4_dolya"); // ammonium, % of N

} // namespace Fields
