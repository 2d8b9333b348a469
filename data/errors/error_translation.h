#pragma once
// Turns the message of a reported error into the Spanish text shown to the
// user, by fixed rules chosen by where the error came from.

#include <QString>
#include <QStringList>
#include <vector>

// What the rules need to know of the dataset in error.
struct TErrorFieldState {
    QString name;
    bool required = false;
    bool isNull = false;
};

struct TErrorSource {
    enum class Kind {
        ProviderUpdate, // a provider's update error: dataset and sender present
        ClientDataSet,  // a client dataset's edit, post or delete error
        Application     // an exception that no handler caught
    };
    Kind kind = Kind::Application;
    // ProviderUpdate: the component name of the dataset the provider reads from.
    QString providerDataSetName;
    // ClientDataSet: the dataset's fields in order, and the fields of its current index.
    std::vector<TErrorFieldState> fields;
    QStringList indexFieldNames;
};

QString TranslateErrorMessage(const QString& message, const TErrorSource& source);

// The text between the first double quote of `text` at or after `from` and
// the next one; empty when there are fewer than two quotes.
QString QuotedName(const QString& text, qsizetype from = 0);
