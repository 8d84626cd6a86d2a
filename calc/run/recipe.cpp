#include "recipe.h"

#include "data/dataset.h"
#include "data/fields.h"

QList<Recipe::Line> Recipe::linesOf(const Dataset &rows)
{
    QList<Line> lines;
    if (!rows.isActive())
        return lines;
    for (int i = 0; i < rows.recordCount(); ++i) {
        lines.append({rows.valueAt(i, Fields::id_udobra), rows.valueAt(i, Fields::name).toString(),
                      rows.valueAt(i, Fields::kol).toDouble()});
    }
    return lines;
}
