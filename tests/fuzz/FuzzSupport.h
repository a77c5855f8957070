#pragma once

#include "DataError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property the readers promise was broken: report it and abort, which
// libFuzzer records as a crash with its input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

inline QByteArray fuzzBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A data directory for the whole fuzzing run. Each input is written once to
// one file; the data files are symbolic links to it, so that all of them
// read the same bytes.
class FuzzDataRoot
{
public:
    FuzzDataRoot() : m_input(m_dir.filePath(QStringLiteral("input")))
    {
        if (!m_dir.isValid())
            qFatal("cannot create a temporary data directory");
        write(QByteArray());
    }

    QString root() const { return m_dir.path(); }

    // path: a data file's full path under root().
    void link(const QString &path) const
    {
        QDir().mkpath(QFileInfo(path).path());
        if (!QFile::link(m_input, path))
            qFatal("cannot link %s", qPrintable(path));
    }

    void write(const QByteArray &bytes) const
    {
        QFile file(m_input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(m_input));
    }

private:
    QTemporaryDir m_dir;
    QString m_input;
};

// A reader may reject a file only with a DataError that names the file.
template <typename Read>
void expectReadOrDataError(const QString &displayName, Read read)
{
    try {
        read();
    } catch (const DataError &error) {
        FUZZ_CHECK(error.file() == displayName);
        FUZZ_CHECK(!error.description().isEmpty());
    }
}
