// The recipe file's reader over any bytes: a refusal is an AppError with a message, never a crash;
// what it accepts writes out and reads back as the same recipe, and analyses.
#include "fuzzinput.h"

#include "calc/recipefile/recipeanalysis.h"
#include "calc/recipefile/recipefile.h"
#include "data/apperror.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    RecipeFile::Recipe recipe;
    try {
        recipe = RecipeFile::read(bytes);
    } catch (const AppError &e) {
        FUZZ_CHECK(!e.text().isEmpty());
        return 0;
    }
    const QByteArray written = RecipeFile::write(recipe);
    FUZZ_CHECK(RecipeFile::read(written) == recipe);
    FUZZ_CHECK(RecipeFile::write(RecipeFile::read(written)) == written);
    RecipeFile::analyse(recipe);
    return 0;
}
