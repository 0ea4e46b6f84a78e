// Where the program's files live: the program folder (the executable's folder,
// or VEXA_PROGRAM_DIR) and the shared folder (XDG data home + "brenmorshared",
// or VEXA_SHARED_DIR). Every folder path here ends in "/".
#pragma once

#include <QString>

namespace paths {

QString ProgramDir();         // folder of the executable, ending in "/"
QString SharedDir();          // the shared folder, ending in "/"
QString ProjectStoreDir();    // SharedDir() + "vexapro/projects/"
QString QuickCodeDir();       // ProgramDir() + "qcode/"
QString SettingsFile();       // ProgramDir() + "vexapro.ini"
QString SharedScratchFile();  // SharedDir() + "temp.vwe"
QString RecoveryDir();        // SharedDir() + "vexapro/recovery/": copies of unsaved work
QString RootDir();            // "/", where file lists are pointed to re-read later

// Creates the shared folder and the project store when they are missing; the
// message that says why they cannot be, or an empty text.
QString EnsureSharedFolders();

// Everything up to and including the last "/" (empty when there is none).
QString FolderPart(const QString& path);
// Everything after the last "/".
QString FileNamePart(const QString& path);
// The part from the last "." after the last "/", dot included; empty if none.
QString Extension(const QString& path);
// Whether a name typed by the user stays a plain name inside its folder: no
// "/", no NUL, and not "." or "..".
bool IsPlainName(const QString& name);

}  // namespace paths
