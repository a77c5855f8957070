#pragma once

#include "DataPath.h"

#include <QByteArray>
#include <QImage>

// Reading one data file whole; any failure is a DataError naming the file.
namespace DataFiles {

QByteArray readBytes(const DataPath &path);
QImage readPicture(const DataPath &path);

} // namespace DataFiles
