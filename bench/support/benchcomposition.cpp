#include "benchcomposition.h"

#include "data/datamodules.h"
#include "data/fields.h"

void fillWorkingComposition(DataModules &dm, int size, const std::function<double(int)> &grams)
{
    Dataset &u = dm.form2.T_Udobra;
    Dataset &r = dm.form4.T_rachet;
    while (!r.isEmpty())
        r.remove();
    u.first();
    for (int i = 0; i < size && !u.eof(); ++i, u.next()) {
        r.append();
        r.setValue(Fields::id_udobra, u.asInteger(Fields::id_udobra));
        r.setValue(Fields::kol, grams(i));
        r.post();
    }
}
