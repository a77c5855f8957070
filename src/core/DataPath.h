#pragma once

#include <QString>

// The data directory is the program's own directory. Data paths are written
// as in the data tables, relative parts beginning with "\"; this is the one
// place where that separator becomes the file system's "/".
namespace DataRootRule {

// The program directory with one trailing separator removed.
QString fromProgramDirectory(const QString &directory);

} // namespace DataRootRule

class DataPath
{
public:
    DataPath(QString dataRoot, QString relative);

    // The path to open: DataRoot followed by the relative part.
    QString filePath() const;
    // The relative part as the user reads it: "概要/アジア/kuni.txt".
    QString displayName() const;
    const QString &relative() const { return m_relative; }

private:
    QString m_dataRoot;
    QString m_relative;
};
