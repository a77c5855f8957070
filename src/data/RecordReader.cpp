#include "RecordReader.h"

#include "DataError.h"

RecordReader::RecordReader(QString text, QString fileName)
    : m_text(std::move(text)), m_fileName(std::move(fileName))
{
}

bool RecordReader::atLineEnd() const
{
    const QChar c = m_text.at(m_pos);
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

void RecordReader::skipDelimiter()
{
    if (m_pos >= m_text.size())
        return;
    if (m_text.at(m_pos) == QLatin1Char(',')) {
        ++m_pos;
    } else if (m_text.at(m_pos) == QLatin1Char('\r')) {
        ++m_pos;
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('\n'))
            ++m_pos;
    } else if (m_text.at(m_pos) == QLatin1Char('\n')) {
        ++m_pos;
    }
}

QString RecordReader::readText(int record)
{
    while (m_pos < m_text.size()
           && (m_text.at(m_pos) == QLatin1Char(' ') || m_text.at(m_pos) == QLatin1Char('\t')))
        ++m_pos;
    if (m_pos >= m_text.size())
        throw DataError(m_fileName,
                        QStringLiteral("%1 件目のレコードを読む前にファイルが終わりました。").arg(record));

    QString value;
    if (m_text.at(m_pos) == QLatin1Char('"')) {
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        value = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? end : end + 1;
        // Whatever follows the closing quote up to the delimiter is not part of the value.
        while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char(',') && !atLineEnd())
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char(',') && !atLineEnd())
            ++m_pos;
        value = m_text.mid(start, m_pos - start);
    }
    skipDelimiter();
    return value;
}

int RecordReader::readInteger(int record)
{
    const QString field = readText(record);
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    if (!ok)
        throw DataError(m_fileName, QStringLiteral("%1 件目の数値「%2」が整数ではありません。")
                                        .arg(record)
                                        .arg(field));
    return value;
}
