#include "basedata.h"

#include "data/apperror.h"
#include "data/fields.h"
#include "data/owntables.h"
#include "data/schema.h"

#include "defaultbasetext.h" // generated from default-base.txt at build time

#include <QHash>
#include <QSet>

#include <cmath>
#include <string_view>

namespace {

// Upper half of Windows-1251 (0x80 to 0xBF; 0x98 is unassigned, 0xC0 to 0xFF is А to я).
const char16_t Cp1251High[] = u"\u0402\u0403\u201A\u0453\u201E\u2026\u2020\u2021"
                              u"\u20AC\u2030\u0409\u2039\u040A\u040C\u040B\u040F"
                              u"\u0452\u2018\u2019\u201C\u201D\u2022\u2013\u2014"
                              u"\u2122\u0459\u203A\u045A\u045C\u045B\u045F"
                              u"\u00A0\u040E\u045E\u0408\u00A4\u0490\u00A6\u00A7"
                              u"\u0401\u00A9\u0404\u00AB\u00AC\u00AD\u00AE\u0407"
                              u"\u00B0\u00B1\u0406\u0456\u0491\u00B5\u00B6\u00B7"
                              u"\u0451\u2116\u0454\u00BB\u0458\u0405\u0455\u0457";

bool inWindows1251(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F)
        return true;
    if (u >= 0x0410 && u <= 0x044F)
        return true;
    return std::u16string_view(Cp1251High).find(u) != std::u16string_view::npos;
}

class Parser
{
public:
    explicit Parser(const QString &sourceName)
        : m_source(sourceName)
    {
    }

    QList<BaseSection> run(const QString &text);

private:
    [[noreturn]] void fail(int line, const QString &what) const
    {
        if (line > 0)
            throw AppError(QStringLiteral("%1:%2: %3").arg(m_source).arg(line).arg(what));
        throw AppError(QStringLiteral("%1: %2").arg(m_source, what));
    }

    void startSection(int line, const QString &name);
    void readHeader(int line, const QString &text);
    void readRow(int line, const QString &text);
    QVariant readValue(int line, const FieldDef &field, const QString &cell) const;
    void checkReferences() const;

    QString m_source;
    QList<BaseSection> m_sections;
    const TableDef *m_table = nullptr; // of the current section
    bool m_headerRead = false;
    QHash<QString, QHash<int, int>> m_keyLines; // table -> key -> line
};

QList<BaseSection> Parser::run(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        QString s = lines.at(i);
        if (i == 0 && s.startsWith(QChar(0xFEFF)))
            s.remove(0, 1);
        const qsizetype hash = s.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            s.truncate(hash);
        s = s.trimmed();
        if (s.isEmpty())
            continue;
        if (s.startsWith(QLatin1Char('['))) {
            if (!s.endsWith(QLatin1Char(']')))
                fail(line, QStringLiteral("раздел не закрыт скобкой \"]\""));
            startSection(line, s.mid(1, s.size() - 2).trimmed());
        } else if (!m_table) {
            fail(line, QStringLiteral("строка вне раздела [таблица]"));
        } else if (!m_headerRead) {
            readHeader(line, s);
        } else {
            readRow(line, s);
        }
    }
    checkReferences();

    const BaseSection *opt = nullptr;
    for (const BaseSection &sec : m_sections)
        if (sec.table == Tables::t_opt)
            opt = &sec;
    if (!opt || opt->rows.isEmpty())
        fail(0, QStringLiteral("нет строки параметров в разделе [%1]").arg(Tables::t_opt));
    if (opt->rows.size() > 1)
        fail(opt->rows.at(1).line,
             QStringLiteral("в %1 лишняя строка: строка параметров одна").arg(Tables::t_opt));
    return m_sections;
}

void Parser::startSection(int line, const QString &name)
{
    m_table = nullptr;
    for (const QList<TableDef> *tables : {&Schema::tables(), &OwnTables::tables()}) {
        for (const TableDef &t : *tables)
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                m_table = &t;
    }
    if (!m_table)
        fail(line, QStringLiteral("неизвестная таблица \"%1\"").arg(name));
    for (const BaseSection &sec : m_sections)
        if (sec.table == m_table->name)
            fail(line, QStringLiteral("раздел [%1] уже был").arg(m_table->name));
    m_sections.append({m_table->name, {}, {}});
    m_headerRead = false;
}

void Parser::readHeader(int line, const QString &text)
{
    BaseSection &sec = m_sections.last();
    for (const QString &cell : text.split(QLatin1Char('|'))) {
        const FieldDef *f = m_table->field(cell.trimmed());
        if (!f)
            fail(line, QStringLiteral("в таблице %1 нет поля \"%2\"").arg(sec.table, cell.trimmed()));
        if (sec.fields.contains(f->name))
            fail(line, QStringLiteral("поле %1 названо дважды").arg(f->name));
        sec.fields.append(f->name);
    }
    const QString key = m_table->keyField();
    if (!key.isEmpty() && !sec.fields.contains(key))
        fail(line, QStringLiteral("в заголовке нет ключа %1").arg(key));
    m_headerRead = true;
}

void Parser::readRow(int line, const QString &text)
{
    BaseSection &sec = m_sections.last();
    const QStringList cells = text.split(QLatin1Char('|'));
    if (cells.size() != sec.fields.size())
        fail(line, QStringLiteral("%1 значений вместо %2").arg(cells.size()).arg(sec.fields.size()));
    BaseRow row{line, {}};
    for (int c = 0; c < cells.size(); ++c) {
        const FieldDef &f = *m_table->field(sec.fields.at(c));
        const QVariant v = readValue(line, f, cells.at(c).trimmed());
        if (f.type == FieldType::Key) {
            if (v.isNull())
                fail(line, QStringLiteral("%1: пустой ключ").arg(f.name));
            QHash<int, int> &seen = m_keyLines[sec.table];
            if (seen.contains(v.toInt()))
                fail(line, QStringLiteral("ключ %1 = %2 уже был в строке %3")
                               .arg(f.name).arg(v.toInt()).arg(seen.value(v.toInt())));
            seen.insert(v.toInt(), line);
        }
        row.values.append(v);
    }
    sec.rows.append(row);
}

QVariant Parser::readValue(int line, const FieldDef &field, const QString &cell) const
{
    if (cell.isEmpty())
        return {};
    bool ok = false;
    switch (field.type) {
    case FieldType::Key:
    case FieldType::Int: {
        qint32 v = 0;
        if (cell.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            // Colours are written as 0xAABBGGRR; the field holds the same bits, signed.
            v = static_cast<qint32>(cell.mid(2).toUInt(&ok, 16));
            ok = ok && cell.size() <= 10;
        } else {
            v = cell.toInt(&ok, 10);
        }
        if (!ok)
            fail(line, QStringLiteral("%1: \"%2\" не целое число").arg(field.name, cell));
        return QVariant(v);
    }
    case FieldType::Double: {
        const double v = cell.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(line, QStringLiteral("%1: \"%2\" не число").arg(field.name, cell));
        return QVariant(v);
    }
    case FieldType::Bool:
        if (cell == QLatin1String("true"))
            return QVariant(true);
        if (cell == QLatin1String("false"))
            return QVariant(false);
        fail(line, QStringLiteral("%1: \"%2\" не true и не false").arg(field.name, cell));
    case FieldType::Text:
        if (cell.size() > field.size)
            fail(line, QStringLiteral("%1: \"%2\" длиннее %3 символов")
                           .arg(field.name, cell).arg(field.size));
        for (QChar c : cell) {
            if (!inWindows1251(c))
                fail(line, QStringLiteral("%1: символа U+%2 нет в Windows-1251")
                               .arg(field.name)
                               .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        }
        return QVariant(cell);
    }
    return {};
}

void Parser::checkReferences() const
{
    for (const BaseReference &ref : BaseData::references()) {
        for (const BaseSection &sec : m_sections) {
            if (sec.table != ref.table)
                continue;
            const qsizetype col = sec.fields.indexOf(ref.field);
            if (col < 0)
                continue;
            const QHash<int, int> keys = m_keyLines.value(ref.target);
            for (const BaseRow &row : sec.rows) {
                const QVariant v = row.values.at(col);
                if (!v.isNull() && !keys.contains(v.toInt()))
                    fail(row.line, QStringLiteral("%1 = %2: такой строки нет в %3")
                                       .arg(ref.field).arg(v.toInt()).arg(ref.target));
            }
        }
    }
}

} // namespace

namespace BaseData {

const QList<BaseReference> &references()
{
    using namespace Fields;
    static const QList<BaseReference> refs = {
        {Tables::T_element, id_kof, Tables::t_kof},
        {Tables::t_kof, id_element, Tables::T_element},
        {Tables::T_sostav_udobra, id_udobra, Tables::t_udobra},
        {Tables::T_sostav_udobra, id_element, Tables::T_element},
        {Tables::t_rachet, id_udobra, Tables::t_udobra},
        {Tables::t_konc, id_kult, Tables::T_kult},
        {Tables::t_konc, id_el, Tables::T_element},
        {Tables::t_head_rar, id_konc, Tables::T_kult},
        {Tables::t_save_rar, id_head_rar, Tables::t_head_rar},
        {Tables::t_save_rar, id_udobra, Tables::t_udobra},
        {Tables::t_sostav_vody, id_voda, Tables::t_voda},
        {Tables::t_sostav_vody, id_element, Tables::T_element},
        {Tables::t_svoistva_udobra, id_udobra, Tables::t_udobra},
        {Tables::t_svoistva_kult, id_kult, Tables::T_kult},
    };
    return refs;
}

QString defaultText()
{
    return QString::fromUtf8(reinterpret_cast<const char *>(DefaultBaseText),
                             qsizetype(sizeof(DefaultBaseText)));
}

QList<BaseSection> parse(const QString &text, const QString &sourceName)
{
    return Parser(sourceName).run(text);
}

} // namespace BaseData
