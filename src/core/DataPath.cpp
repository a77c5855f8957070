#include "DataPath.h"

namespace DataRootRule {

QString fromProgramDirectory(const QString &directory)
{
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\')))
        return directory.chopped(1);
    return directory;
}

} // namespace DataRootRule

DataPath::DataPath(QString dataRoot, QString relative)
    : m_dataRoot(std::move(dataRoot)), m_relative(std::move(relative))
{
}

QString DataPath::filePath() const
{
    QString mapped = m_relative;
    mapped.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return m_dataRoot + mapped;
}

QString DataPath::displayName() const
{
    QString shown = m_relative;
    shown.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (shown.startsWith(QLatin1Char('/')))
        shown.remove(0, 1);
    return shown;
}
