#pragma once

#include <QString>

// Reads the fields of a record file one after another. Fields end at a comma
// or a line end; blanks before a field are skipped; a field that begins with
// a double quote runs to the next double quote. Reading past the end of the
// text is a DataError naming the file.
class RecordReader
{
public:
    RecordReader(QString text, QString fileName);

    // The next field as text. record is the 1-based record being read, for messages.
    QString readText(int record);
    // The next field as a whole number.
    int readInteger(int record);

private:
    bool atLineEnd() const;
    void skipDelimiter();

    QString m_text;
    QString m_fileName;
    qsizetype m_pos = 0;
};
