#pragma once
// The lists of file kinds the browse dialogs offer. A dialog opens on the first kind; "All
// Files" comes last as "*", since data files may end in .csv, .dat or nothing at all.

#include <QString>

// The fit wizard: its input and output files, then its model and export files.
inline const QString FIT_TXT_FILTER = QStringLiteral("TXT (*.txt);;XML (*.xml);;CSV (*.csv);;All Files (*)");
inline const QString FIT_XML_FILTER = QStringLiteral("XML (*.xml);;TXT (*.txt);;CSV (*.csv);;All Files (*)");
// The simulation window: climate and T0 files, the model file, the output file.
inline const QString SIM_TXT_FILTER = QStringLiteral("TXT (*.txt);;XML (*.xml);;All Files (*)");
inline const QString SIM_XML_FILTER = QStringLiteral("XML (*.xml);;TXT (*.txt);;All Files (*)");
inline const QString SIM_SAVE_FILTER = QStringLiteral("TXT (*.txt);;All Files (*)");
