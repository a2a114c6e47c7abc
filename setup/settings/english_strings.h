// The program's own English string table, read from the same lines the
// resource script is built from: for the native tests of the pages and for
// odctool, which show the texts a user sees without loading a module.
#pragma once

#include <string>

namespace odc {

// The English text of a string id; "" when there is none.
std::string EnglishString(int id);

}  // namespace odc
