#pragma once

#include "data/apperror.h"
#include "data/connection.h"

#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <initializer_list>

// Runs one statement with bound values on a connection of the test's own.
inline void sql(Connection &c, const QString &text, std::initializer_list<QVariant> values = {})
{
    try {
        Connection::Statement st(c, text);
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        st.step();
    } catch (const AppError &e) {
        ADD_FAILURE() << "SQL failed: " << text.toStdString() << ": " << e.text().toStdString();
        throw;
    }
}

inline QVariant scalar(Connection &c, const QString &text, std::initializer_list<QVariant> values = {})
{
    Connection::Statement st(c, text);
    int i = 1;
    for (const QVariant &v : values)
        st.bind(i++, v);
    return st.step() ? st.column(0) : QVariant();
}

// Runs a layer step and reports the layer's own text when it fails.
#define LAYER_OK(stmt)                                                                             \
    do {                                                                                           \
        try {                                                                                      \
            stmt;                                                                                  \
        } catch (const AppError &e) {                                                              \
            FAIL() << #stmt << " failed: " << e.text().toStdString();                              \
        }                                                                                          \
    } while (0)

#define EXPECT_LAYER_ERROR(stmt, expected)                                                         \
    do {                                                                                           \
        try {                                                                                      \
            stmt;                                                                                  \
            ADD_FAILURE() << #stmt << " did not fail";                                             \
        } catch (const AppError &e) {                                                              \
            EXPECT_EQ(e.text().toStdString(), QString(expected).toStdString());                    \
        }                                                                                          \
    } while (0)
