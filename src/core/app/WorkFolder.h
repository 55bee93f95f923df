#pragma once

#include <string>
#include <vector>

namespace tovarin {

// Where the settings file and the working document live: the program's
// folder when the program may write there, else the user's data folder
// (created when missing). An installed copy (its data folder exists beside
// the program's folder) always uses the user's folder, even when it could
// write beside itself, so that nobody's files land among the system's
// programs. Either way the files keep their names.
std::string ChooseWorkFolder(const std::string& programDir, const std::string& installedDataDir,
                             const std::string& userDataDir);

// The folder an installation puts the bundled files in, for a program
// folder: its sibling share/tovarin.
std::string InstalledDataDir(const std::string& programDir);

bool FolderWritable(const std::string& folder);

// Creates the folder and its missing parents; EInOutError when it cannot.
void MakeFolders(const std::string& folder);

// Copies each named file that the work folder lacks from the first source
// folder that holds it; a file that cannot be copied is left out (the
// program then starts as it would without it).
void SeedWorkFolder(const std::string& workFolder, const std::vector<std::string>& sources,
                    const std::vector<std::string>& names);

// The files the program brings along for a fresh work folder.
const std::vector<std::string>& BundledFileNames();

}  // namespace tovarin
