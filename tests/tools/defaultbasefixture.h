#pragma once

#include "basequery.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "tools/makebase/defaultbase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A default base written afresh for each test, read through plain SQL.
class DefaultBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        try {
            writeDefaultBase(path());
        } catch (const AppError &e) {
            FAIL() << "writeDefaultBase: " << e.text().toStdString();
        }
        m_base.setFileName(path());
    }

    QString path() const { return m_dir.filePath(QStringLiteral("base.mdb")); }
    QList<QVariantList> rows(const QString &sql, std::initializer_list<QVariant> v = {})
    {
        return queryRows(m_base, sql, v);
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> v = {})
    {
        return queryValue(m_base, sql, v);
    }

    QTemporaryDir m_dir;
    Connection m_base;
};
