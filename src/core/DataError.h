#pragma once

#include <QString>

#include <stdexcept>

// A data file that cannot be opened or read, holds too few records, or an
// index outside an array's bounds. The program reports it and ends.
class DataError : public std::runtime_error
{
public:
    // file: path relative to the data directory ("概要/アジア/kuni.txt"), or empty.
    DataError(QString file, QString description)
        : std::runtime_error(description.toStdString()), m_file(std::move(file)),
          m_description(std::move(description))
    {
    }

    const QString &file() const { return m_file; }
    const QString &description() const { return m_description; }

    // The message shown to the user.
    QString message() const
    {
        if (m_file.isEmpty())
            return QStringLiteral("データの誤りのため終了します。\n%1").arg(m_description);
        return QStringLiteral("データファイル「%1」を読めないため終了します。\n%2")
            .arg(m_file, m_description);
    }

private:
    QString m_file;
    QString m_description;
};
