#ifndef CIMHOST_PATHTEXT_H
#define CIMHOST_PATHTEXT_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>

#include "Value.h"

namespace cimhost {

// WBEM URI style text of a path: [//host/]namespace:Class[.Key="v",N=5].
// String values are quoted with \" and \\ escapes; numbers and booleans are
// bare; a reference key is the quoted text of its path.
std::string pathToText(const CMPIObjectPath* path);
std::string pathToText(const PathSpec& path);

// Parses untrusted text; false, with `error` set, for anything malformed.
// Unquoted digits become uint64 (sint64 when negative), decimals with a
// fraction or exponent real64, true/false boolean, quoted text a string, or
// a reference when it reads as a path with a namespace and keys (nested up
// to 8 deep). Text longer than 64 KiB is refused.
bool parsePathText(const std::string& text, PathSpec& path, std::string* error);

} // namespace cimhost

#endif
