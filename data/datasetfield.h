#pragma once

#include "schema.h"

#include <QString>
#include <QVariant>
#include <QVector>

class Dataset;

enum class FieldKind { Stored, Lookup, Calculated };

// One declared field of a dataset: a stored field of its table, a lookup worked out from another
// dataset, or a calculated field set by the dataset's calculation hook. The field also decides
// which values it takes.
struct DatasetField
{
    QString name;
    FieldKind kind = FieldKind::Stored;
    FieldType type = FieldType::Int;
    int size = 0; // the most characters a text holds; 0 for no limit
    bool readOnly = false;
    // Lookups: the value of keyField here is matched with lookupKey of lookupDataset, giving
    // its resultField.
    QString keyField;
    int keyIndex = -1; // keyField's position here, declared before the lookup
    Dataset *lookupDataset = nullptr;
    QString lookupKey;
    QString resultField;

    // A value given to the field (typed text, a number, a check state) as the field holds it;
    // an empty value, and empty text, is a null QVariant. A value the field cannot hold (a
    // text over its size, text that is no number) raises AppError naming the field, so that
    // nothing is changed.
    QVariant accept(const QVariant &value) const;
    // A value read from the file as the field holds it: SQLite gives integers for booleans
    // and 64-bit integers for keys.
    QVariant fromStored(const QVariant &value) const;
};

using DatasetFields = QVector<DatasetField>;

// The position of the field called `name` (in any case), -1 when there is none.
int indexOfField(const DatasetFields &fields, const QString &name);
