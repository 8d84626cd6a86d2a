#pragma once

#include "data/apperror.h"

#include <functional>
#include <string>

// The text of the AppError that `f` raises, or "(no error)", so a failure prints what was said.
inline std::string errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.text().toStdString();
    }
    return "(no error)";
}
