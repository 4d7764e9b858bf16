// The settings every start assigns afresh, in their fixed order.
#pragma once

#include <string>

namespace vantrel {

class Interpreter;

// ALLUSERSPROFILE without the separators at its end.
std::string AllUsersFolder(const Interpreter& in);
// DataFolder: the console's own folder under AllUsersFolder.
std::string DataFolderPath(const Interpreter& in);

// Assigns the 45 setting variables. screenWidth is in pixels.
void AssignDefaults(Interpreter& in, int screenWidth);

}  // namespace vantrel
