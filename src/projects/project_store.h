// Projects on disk: the project file in the shared project store (one line,
// the site folder, ended by CR LF) and the layout of a new site folder.
#pragma once

#include <QString>

namespace projects {

// The store's file for a title: ProjectStoreDir() + title + ".vexa".
QString ProjectFilePath(const QString& title);

// Writes the project file for a title with the folder as its only line and
// returns its path. Throws "Cannot create file %s" when it cannot be written,
// and for a title that is not a plain name (paths::IsPlainName), before anything is written.
QString WriteProjectFile(const QString& title, const QString& folder);

// The first line of a project file (line ends CR LF, CR or LF); the rest is
// ignored. Throws "File not found" for a missing file, "Cannot open file %s"
// for one that cannot be read.
QString ReadProjectFolder(const QString& path);

// Deletes a project file; only the file goes, the site stays. Throws
// "Cannot delete file %s", with the reason, when the file is still there.
void DeleteProjectFile(const QString& path);

// The site's start page: folder + "/index.htm".
QString StartPage(const QString& folder);

// Lays out a site folder: the program folder's "index.htm" copied unless the
// site already has one, then "images", "private" and "files". Nothing here
// reports a failure: a copy or folder that cannot be made is skipped.
void LayOutSite(const QString& folder);

// The main window's caption while a project is open.
QString MainCaption(const QString& projectFileName, const QString& folder);

}  // namespace projects
