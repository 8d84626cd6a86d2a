#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh copy of the default base in a temporary directory that is also made the working
// directory for the test's lifetime (the program looks for base.mdb there). With Crops::Test its
// crops are the ones the window and engine tests were worked out on (testcrops.h).
class FreshBase
{
public:
    enum class Crops { Default, Test };
    explicit FreshBase(Crops crops = Crops::Default);
    ~FreshBase();

    // Gives every element and fertilizer another key, references included (an element k
    // becomes ElementKeys − k, a fertilizer k FertilizerKeys − k): N is no longer 1 nor Fe 7,
    // so only a reader that finds elements by symbol and fertilizers by what it is asked for
    // gives the same answers as on the default base.
    void renumberKeys();
    static constexpr int ElementKeys = 100;
    static constexpr int FertilizerKeys = 500;
    QString dir() const { return m_dir.path(); }
    QString basePath() const; // absolute path of base.mdb
    QString path(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
