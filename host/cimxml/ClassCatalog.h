#ifndef CIMHOST_CIMXML_CLASSCATALOG_H
#define CIMHOST_CIMXML_CLASSCATALOG_H

#include <cmpidt.h>

#include <string>
#include <vector>

namespace cimhost::cimxml {

// What clients learn from GetClass. wbemcli reads a method's parameters
// from it before every call and sends only the declared ones, untyped, so
// the declared types are also what incoming values are converted to.
struct ParameterDecl {
    std::string name;
    CMPIType type = CMPI_string;  // with CMPI_ARRAY for arrays; CMPI_ref for references
    std::string referenceClass;
    bool in = true;
    bool out = false;
};

struct MethodDecl {
    std::string name;
    CMPIType returnType = CMPI_uint32;
    std::vector<ParameterDecl> parameters;
};

struct PropertyDecl {
    std::string name;
    CMPIType type = CMPI_string;
    std::string referenceClass;
    bool key = false;
};

struct ClassDecl {
    std::string name;
    std::string superClass;
    std::vector<PropertyDecl> properties;
    std::vector<MethodDecl> methods;
};

// Class declarations by name (any case). Fill it before serving; reading
// from several threads at once is safe as long as nobody adds. Nothing
// here throws except std::bad_alloc.
class ClassCatalog {
public:
    // Replaces a class of the same name.
    void add(const ClassDecl& decl);
    const ClassDecl* find(const std::string& className) const;
    // The class with what it inherits from the catalogued superclasses
    // (own declarations win); false when the class is unknown.
    bool flattened(const std::string& className, ClassDecl& out) const;
    // Declared types, searched through the superclasses; false when none.
    bool propertyType(const std::string& className, const std::string& property, CMPIType& type) const;
    bool parameterType(const std::string& className, const std::string& method,
                       const std::string& parameter, CMPIType& type) const;

    // Reads class declarations from MOF text (qualifiers other than Key,
    // In and Out, instances and pragmas are skipped). False, with `error`
    // naming the line, for text it cannot read; classes read before the
    // fault are kept.
    bool addMof(const std::string& text, std::string* error);

private:
    std::vector<ClassDecl> classes;
};

} // namespace cimhost::cimxml

#endif
