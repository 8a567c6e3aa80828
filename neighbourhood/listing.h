#pragma once
// Neighbourhood folders ("Userdata*" directly under the game folder) and the character
// files ("user*.iff" in their characters folder). Only folder listings; no file is opened.

#include <string>
#include <vector>

namespace drapeline::neighbourhood {

// Names (no path) matching "Userdata*" in the game folder, folders and plain files alike,
// in listing order.
std::vector<std::string> listNeighbourhoodFolders(const std::string& gameLocation);

// "Neighborhood 02   (UserData2)"; the first neighbourhood, "UserData", is number 01.
std::string neighbourhoodLine(const std::string& folderName);

// The neighbourhood list's lines in the order the list shows them: sorted without regard
// to letter case.
std::vector<std::string> neighbourhoodLines(const std::vector<std::string>& folderNames);

// The folder name a list line stands for: the text after "(" of the first "(UserData"
// (any letter case), cut before the next ")". Empty for a line without it.
std::string folderOfLine(const std::string& line);

// A single folder name: not empty, not "." or "..", no separator. A name from a listing
// could hold a backslash on Linux; it must never lead outside the game folder.
bool isPlainName(const std::string& name);

// The characters folder of a neighbourhood, resolved without regard to letter case.
std::string characterFolder(const std::string& gameLocation, const std::string& userDataDir);

// Names (no path) of the plain files matching "user*.iff" in the neighbourhood's
// characters folder, in listing order.
std::vector<std::string> listSimFiles(const std::string& gameLocation,
                                        const std::string& userDataDir);

}  // namespace drapeline::neighbourhood
