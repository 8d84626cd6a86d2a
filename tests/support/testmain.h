#pragma once

#include <QLocale>

#include <gtest/gtest.h>

// The gtest main of every test binary, inside an application object of the kind its code needs.
template<typename Application>
int runTests(int argc, char **argv)
{
    // Tests pin the locale they need; the default is a point as decimal separator.
    QLocale::setDefault(QLocale::c());
    Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
