#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The bytes of size.ini, apart from any window: the 15 lines, how they are written and read,
// and the errors of the file. Applying the values to windows is WindowLayout's business.
namespace LayoutFile {

inline constexpr int LineCount = 15;
inline constexpr int LineLength = 4; // a line is read into a text of at most this many characters

inline const QString FileName = QStringLiteral("size.ini");

// What each line holds, in file order.
enum Line {
    ElementsMaximised,    // "1" when maximised
    FertilizersMaximised,
    CalculatorMaximised,
    ElementsHeight,       // outer sizes, frame and caption included
    ElementsWidth,
    FertilizersHeight,
    FertilizersWidth,
    CalculatorHeight,
    CalculatorWidth,
    FertilizersSplitter1, // splitter positions
    CalculatorSplitter1,
    CalculatorSplitter2,
    CalculatorSplitter3,
    CalculatorSplitter4,
    CalculatorSplitter5,
};

using Values = std::array<int, LineCount>;

// The built-in layout: nothing maximised, the element window 465 x 630, the fertilizer window
// 627 x 603, the calculator 936 x 738 (width x height), then the six splitter positions.
inline constexpr Values Defaults = {0, 0, 0, 630, 465, 603, 627, 738, 936, 230, 577, 355, 258, 307, 416};

// Each value in decimal, each line ended by CR LF, the last one too.
QByteArray format(const Values &values);

// Writes the values, and the section of our own that the file held, into a new file that then
// replaces the old one at once. Throws AppError:
//   Cannot create file "<path>". File access denied   (or "Path not found")
//   Cannot write file "<path>". <reason>
void write(const QString &path, const Values &values);

// Whether the file opens for reading; never throws.
bool canOpen(const QString &path);

// The 15 texts of the file by the reading rule: a line ends at LF or CR LF, a CR that no LF
// follows is dropped, every line is cut to its first 4 characters, and lines past the end of
// the file are empty.
QStringList parse(const QByteArray &bytes);

// Reads and parses the file. Throws AppError:
//   Cannot open file "<path>". File not found   (or "File access denied")
QStringList read(const QString &path);

// Settings of our own windows follow the 15 lines as a section of their own: a line "[Vernolat]",
// then one "key=value" line each, CR LF ended. The reading rule never reaches them, and writing
// the 15 lines keeps them.
inline const QByteArray OwnSectionHeader = QByteArrayLiteral("[Vernolat]");

// The section's settings in the bytes of a file; none when the file has fewer than 15 whole
// lines or no section after them.
QMap<QString, QString> ownSettings(const QByteArray &bytes);

// One setting of the file at `path`; none when the file does not open or holds no such key.
std::optional<QString> ownSetting(const QString &path, const QString &key);

// Stores one setting in the file's section, the 15 lines before it byte for byte as they are
// (the defaults when there is no file yet). A file with fewer than 15 whole lines is left as it
// is, and false returned: the next load reports it. Throws AppError as write() does.
bool writeOwnSetting(const QString &path, const QString &key, const QString &value);

// A state line means maximised only when it is exactly "1".
bool isMaximised(const QString &line);

// Every other line: "'%s' is not a valid integer value" when it is not one.
int toInteger(const QString &line);

} // namespace LayoutFile
