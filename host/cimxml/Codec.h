#ifndef CIMHOST_CIMXML_CODEC_H
#define CIMHOST_CIMXML_CODEC_H

#include <cmpidt.h>

#include <pugixml.hpp>
#include <string>

#include "ClassCatalog.h"
#include "Value.h"

namespace cimhost::cimxml {

// CIM-XML (DSP0201) forms of the broker's values, paths and instances.
// Writers append to `out` and escape all text; readers take untrusted
// elements and answer false, with `error` set, for anything malformed.
// Nothing here throws except std::bad_alloc.
class Codec {
public:
    // "uint16", "string", "reference", ... for the element type of `type`;
    // "" for types CIM-XML has no name for.
    static std::string typeName(CMPIType type);
    // Any case; false for unknown names.
    static bool typeFromName(const std::string& name, CMPIType& type);

    // Text and attribute escaping; characters XML 1.0 cannot carry become '?'.
    static std::string escape(const std::string& text);

    static void writeLocalNamespacePath(std::string& out, const std::string& nameSpace);
    static void writeInstanceName(std::string& out, const PathSpec& path);
    // INSTANCEPATH; `host` is used when the path has none.
    static void writeInstancePath(std::string& out, const PathSpec& path, const std::string& host);
    // VALUE.REFERENCE with INSTANCEPATH, LOCALINSTANCEPATH or INSTANCENAME,
    // as far as the path tells.
    static void writeReference(std::string& out, const PathSpec& path);
    // VALUE, VALUE.ARRAY or VALUE.REFERENCE; nothing for null.
    static void writeValue(std::string& out, const Value& value);
    // PROPERTY, PROPERTY.ARRAY or PROPERTY.REFERENCE.
    static void writeProperty(std::string& out, const std::string& name, const Value& value);
    static void writeInstance(std::string& out, const InstanceSpec& instance);
    static void writeClass(std::string& out, const ClassDecl& decl);

    // Scalar text as the given type (range checked).
    static bool readScalar(const std::string& text, CMPIType type, Value& value, std::string& error);
    // A VALUE, VALUE.ARRAY or VALUE.REFERENCE element as the given type
    // (CMPI_null: strings, or a reference for VALUE.REFERENCE).
    static bool readValue(const pugi::xml_node& node, CMPIType type, Value& value, std::string& error);
    static bool readLocalNamespacePath(const pugi::xml_node& node, std::string& nameSpace, std::string& error);
    // INSTANCENAME: keys from KEYVALUE (VALUETYPE string/boolean/numeric,
    // or TYPE) or VALUE.REFERENCE.
    static bool readInstanceName(const pugi::xml_node& node, PathSpec& path, std::string& error);
    // VALUE.REFERENCE holding INSTANCEPATH, LOCALINSTANCEPATH or INSTANCENAME.
    static bool readReference(const pugi::xml_node& node, PathSpec& path, std::string& error);
    // INSTANCE; properties without TYPE take the catalog's type, else string.
    static bool readInstance(const pugi::xml_node& node, const ClassCatalog* catalog, InstanceSpec& instance,
                             std::string& error);

private:
    static bool readInstanceName(const pugi::xml_node& node, PathSpec& path, std::string& error, int depth);
    static bool readReference(const pugi::xml_node& node, PathSpec& path, std::string& error, int depth);
    static void writeReference(std::string& out, const PathSpec& path, int depth);
    static void writeInstanceName(std::string& out, const PathSpec& path, int depth);
};

} // namespace cimhost::cimxml

#endif
