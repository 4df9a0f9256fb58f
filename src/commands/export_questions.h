#pragma once

#include "platform/platform.h"

#include <QString>
#include <optional>

namespace td {

namespace csv {
class FileExporter;
}

// The questions around writing a CSV file, shared by every export: the file
// name (the Save dialog, under the export's own title when given, a name
// under which no file can be written refused as a save refuses it, then
// whether to replace a file of that name) and the report of a failure with
// the file's own reason, in the file error message.
std::optional<QString> askCsvFileName(Platform& platform, const QString& proposed,
                                      const QString& title = QString());
void reportExportFailure(MessageBoxes& messages, const QString& path, const csv::FileExporter& exporter);

}  // namespace td
