#include "ClassCatalog.h"

#include <cctype>
#include <strings.h>

#include "Codec.h"

namespace cimhost::cimxml {

namespace {

bool same(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// Superclass chains are followed at most this far, so a cycle in the
// declarations cannot hang a lookup.
constexpr int maxLineage = 32;

} // namespace

void ClassCatalog::add(const ClassDecl& decl)
{
    for (ClassDecl& c : classes)
        if (same(c.name, decl.name)) {
            c = decl;
            return;
        }
    classes.push_back(decl);
}

const ClassDecl* ClassCatalog::find(const std::string& className) const
{
    for (const ClassDecl& c : classes)
        if (same(c.name, className))
            return &c;
    return nullptr;
}

bool ClassCatalog::flattened(const std::string& className, ClassDecl& out) const
{
    const ClassDecl* decl = find(className);
    if (!decl)
        return false;
    out = *decl;
    const ClassDecl* parent = find(decl->superClass);
    for (int i = 0; parent && i < maxLineage; ++i) {
        // Inherited features go first, as servers list them.
        std::vector<PropertyDecl> properties;
        for (const PropertyDecl& p : parent->properties) {
            bool overridden = false;
            for (const PropertyDecl& own : out.properties)
                overridden = overridden || same(own.name, p.name);
            if (!overridden)
                properties.push_back(p);
        }
        properties.insert(properties.end(), out.properties.begin(), out.properties.end());
        out.properties = std::move(properties);
        for (const MethodDecl& m : parent->methods) {
            bool overridden = false;
            for (const MethodDecl& own : out.methods)
                overridden = overridden || same(own.name, m.name);
            if (!overridden)
                out.methods.push_back(m);
        }
        parent = find(parent->superClass);
    }
    return true;
}

bool ClassCatalog::propertyType(const std::string& className, const std::string& property, CMPIType& type) const
{
    const ClassDecl* decl = find(className);
    for (int i = 0; decl && i < maxLineage; ++i) {
        for (const PropertyDecl& p : decl->properties)
            if (same(p.name, property)) {
                type = p.type;
                return true;
            }
        decl = find(decl->superClass);
    }
    return false;
}

bool ClassCatalog::parameterType(const std::string& className, const std::string& method,
                                 const std::string& parameter, CMPIType& type) const
{
    const ClassDecl* decl = find(className);
    for (int i = 0; decl && i < maxLineage; ++i) {
        for (const MethodDecl& m : decl->methods)
            if (same(m.name, method)) {
                for (const ParameterDecl& p : m.parameters)
                    if (same(p.name, parameter)) {
                        type = p.type;
                        return true;
                    }
                return false;
            }
        decl = find(decl->superClass);
    }
    return false;
}

namespace {

// A small MOF reader: enough of the grammar for class declarations.
class MofReader {
public:
    explicit MofReader(const std::string& text) : text(text) {}

    bool run(ClassCatalog& catalog, std::string* error)
    {
        while (true) {
            skipBlanks();
            if (pos >= text.size())
                return true;
            if (text[pos] == '#') {
                while (pos < text.size() && text[pos] != '\n')
                    ++pos;
                continue;
            }
            Qualifiers q;
            if (peek('[') && !readQualifiers(q))
                return fail(error);
            std::string word = identifier();
            if (same(word, "class")) {
                ClassDecl decl;
                if (!readClass(decl))
                    return fail(error);
                catalog.add(decl);
            } else if (same(word, "instance") || same(word, "qualifier")) {
                if (!skipStatement())
                    return fail(error);
            } else {
                problem = word.empty() ? "unexpected character" : "unexpected " + word;
                return fail(error);
            }
        }
    }

private:
    struct Qualifiers {
        bool key = false;
        bool in = false;
        bool out = false;
        bool inGiven = false;
    };

    bool fail(std::string* error)
    {
        if (error) {
            int line = 1;
            for (size_t i = 0; i < pos && i < text.size(); ++i)
                line += text[i] == '\n';
            *error = "line " + std::to_string(line) + ": " + (problem.empty() ? "cannot read" : problem);
        }
        return false;
    }

    void skipBlanks()
    {
        while (pos < text.size()) {
            if (std::isspace(static_cast<unsigned char>(text[pos]))) {
                ++pos;
            } else if (text.compare(pos, 2, "//") == 0) {
                while (pos < text.size() && text[pos] != '\n')
                    ++pos;
            } else if (text.compare(pos, 2, "/*") == 0) {
                size_t end = text.find("*/", pos + 2);
                pos = end == std::string::npos ? text.size() : end + 2;
            } else {
                break;
            }
        }
    }

    bool peek(char c)
    {
        skipBlanks();
        return pos < text.size() && text[pos] == c;
    }

    bool expect(char c)
    {
        if (!peek(c)) {
            problem = std::string("expected '") + c + "'";
            return false;
        }
        ++pos;
        return true;
    }

    std::string identifier()
    {
        skipBlanks();
        size_t start = pos;
        while (pos < text.size()
               && (std::isalnum(static_cast<unsigned char>(text[pos])) || text[pos] == '_'))
            ++pos;
        return text.substr(start, pos - start);
    }

    // Skips a string literal, or a balanced (), {} or [] group.
    bool skipGroup()
    {
        skipBlanks();
        if (pos >= text.size())
            return false;
        char open = text[pos];
        if (open == '"' || open == '\'') {
            ++pos;
            while (pos < text.size() && text[pos] != open) {
                if (text[pos] == '\\')
                    ++pos;
                ++pos;
            }
            if (pos >= text.size()) {
                problem = "unterminated literal";
                return false;
            }
            ++pos;
            return true;
        }
        char close = open == '(' ? ')' : open == '{' ? '}' : open == '[' ? ']' : 0;
        if (!close) {
            ++pos;
            return true;
        }
        // Iterative so that deep nesting cannot exhaust the stack.
        std::string stack(1, close);
        ++pos;
        while (!stack.empty()) {
            skipBlanks();
            if (pos >= text.size()) {
                problem = "unbalanced brackets";
                return false;
            }
            char c = text[pos];
            if (c == '"' || c == '\'') {
                if (!skipGroup())
                    return false;
                continue;
            }
            if (c == '(')
                stack += ')';
            else if (c == '{')
                stack += '}';
            else if (c == '[')
                stack += ']';
            else if (c == stack.back())
                stack.pop_back();
            else if (c == ')' || c == '}' || c == ']') {
                problem = "unbalanced brackets";
                return false;
            }
            ++pos;
        }
        return true;
    }

    bool skipStatement()
    {
        while (true) {
            skipBlanks();
            if (pos >= text.size()) {
                problem = "missing ';'";
                return false;
            }
            if (text[pos] == ';') {
                ++pos;
                return true;
            }
            if (!skipGroup())
                return false;
        }
    }

    bool readQualifiers(Qualifiers& q)
    {
        if (!expect('['))
            return false;
        while (true) {
            std::string name = identifier();
            if (name.empty()) {
                problem = "expected a qualifier name";
                return false;
            }
            bool value = true;
            if (peek('(')) {
                size_t start = pos;
                if (!skipGroup())
                    return false;
                std::string arg = text.substr(start + 1, pos - start - 2);
                if (arg.find("false") != std::string::npos || arg.find("FALSE") != std::string::npos)
                    value = false;
            } else if (peek('{')) {
                if (!skipGroup())
                    return false;
            }
            if (same(name, "Key")) {
                q.key = value;
            } else if (same(name, "In")) {
                q.in = value;
                q.inGiven = true;
            } else if (same(name, "Out")) {
                q.out = value;
            }
            skipBlanks();
            if (peek(',')) {
                ++pos;
                continue;
            }
            return expect(']');
        }
    }

    // type [REF] name — `type` is the CMPI type, `refClass` set for REF.
    bool readTyped(CMPIType& type, std::string& refClass, std::string& name)
    {
        std::string typeWord = identifier();
        if (typeWord.empty()) {
            problem = "expected a type";
            return false;
        }
        std::string next = identifier();
        if (same(next, "REF")) {
            type = CMPI_ref;
            refClass = typeWord;
            name = identifier();
        } else {
            if (!Codec::typeFromName(typeWord, type) || type == CMPI_ref) {
                problem = "unknown type " + typeWord;
                return false;
            }
            name = next;
        }
        if (name.empty()) {
            problem = "expected a name";
            return false;
        }
        if (peek('[')) {
            if (!skipGroup())
                return false;
            type = static_cast<CMPIType>(type | CMPI_ARRAY);
        }
        return true;
    }

    bool readClass(ClassDecl& decl)
    {
        decl.name = identifier();
        if (decl.name.empty()) {
            problem = "class without a name";
            return false;
        }
        if (peek(':')) {
            ++pos;
            decl.superClass = identifier();
        }
        if (!expect('{'))
            return false;
        while (!peek('}')) {
            if (pos >= text.size()) {
                problem = "unterminated class";
                return false;
            }
            Qualifiers q;
            if (peek('[') && !readQualifiers(q))
                return false;
            CMPIType type;
            std::string refClass, name;
            if (!readTyped(type, refClass, name))
                return false;
            if (peek('(')) {
                MethodDecl m;
                m.name = name;
                m.returnType = type;
                ++pos;
                while (!peek(')')) {
                    Qualifiers pq;
                    if (peek('[') && !readQualifiers(pq))
                        return false;
                    ParameterDecl p;
                    if (!readTyped(p.type, p.referenceClass, p.name))
                        return false;
                    p.in = pq.inGiven ? pq.in : true;
                    p.out = pq.out;
                    m.parameters.push_back(p);
                    if (peek(','))
                        ++pos;
                    else if (!peek(')')) {
                        problem = "expected ',' or ')'";
                        return false;
                    }
                }
                ++pos;
                decl.methods.push_back(m);
            } else {
                PropertyDecl p;
                p.name = name;
                p.type = type;
                p.referenceClass = refClass;
                p.key = q.key;
                decl.properties.push_back(p);
                if (peek('=')) {
                    ++pos;
                    while (!peek(';') && pos < text.size())
                        if (!skipGroup())
                            return false;
                }
            }
            if (!expect(';'))
                return false;
        }
        ++pos;
        return expect(';');
    }

    const std::string& text;
    size_t pos = 0;
    std::string problem;
};

} // namespace

bool ClassCatalog::addMof(const std::string& text, std::string* error)
{
    MofReader reader(text);
    return reader.run(*this, error);
}

} // namespace cimhost::cimxml
