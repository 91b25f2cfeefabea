#ifndef CIMHOST_NAME_H
#define CIMHOST_NAME_H

#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>

namespace cimhost {

// The name of a key, property, argument or context entry. The same few
// names stand in every object of a kind (each endpoint path holds the same
// four key names), so a name's text is kept once for the process and a
// name holds a pointer to it: a list entry is then 40 bytes instead of 64,
// a long name takes no piece of its own per entry, and a lookup compares
// against texts that stay in the caches. The kept texts are bounded: past
// the bound (a client sending ever new names) a name holds a copy of its
// own in the memory it was given, as a string would.
class Name {
public:
    using allocator_type = std::pmr::polymorphic_allocator<char>;

    Name() noexcept : Name(allocator_type()) {}
    explicit Name(const allocator_type& alloc) noexcept;
    Name(std::string_view text, const allocator_type& alloc = {});
    Name(const char* text, const allocator_type& alloc = {});
    Name(const std::string& text, const allocator_type& alloc = {}) : Name(std::string_view(text), alloc) {}
    Name(const Name& other, const allocator_type& alloc = {});
    Name(Name&& other) noexcept;
    Name(Name&& other, const allocator_type& alloc);
    ~Name();
    Name& operator=(const Name& other);
    Name& operator=(Name&& other);
    Name& operator=(std::string_view text);
    Name& operator=(const char* text) { return *this = std::string_view(text ? text : ""); }
    Name& operator=(const std::string& text) { return *this = std::string_view(text); }

    const char* c_str() const noexcept { return text; }
    std::size_t size() const noexcept { return header(text)->length; }
    bool empty() const noexcept { return size() == 0; }
    operator std::string_view() const noexcept { return std::string_view(text, size()); }
    allocator_type get_allocator() const noexcept { return allocator_type(memory); }
    // True while the text is the process's copy, shared by every name of it.
    bool shared() const noexcept { return header(text)->kept; }

private:
    struct Header {
        std::size_t length;
        bool kept;
    };
    static const Header* header(const char* text) noexcept
    {
        return reinterpret_cast<const Header*>(text) - 1;
    }
    // The process's copy of `text`, or null once the bound is reached.
    static const char* keep(std::string_view text);
    static const char* keep(const char* text);
    // The process's copy, else a copy of its own in `memory`.
    static const char* place(std::string_view text, std::pmr::memory_resource* memory);
    // Header and text in a piece of `memory`.
    static const char* write(std::pmr::memory_resource& memory, std::string_view text, bool kept);
    static const char* blank() noexcept;
    void assign(const char* placed) noexcept;

    const char* text;
    std::pmr::memory_resource* memory;
};

inline bool operator==(const Name& a, const Name& b) { return std::string_view(a) == std::string_view(b); }
inline bool operator==(const Name& a, std::string_view b) { return std::string_view(a) == b; }
inline bool operator==(std::string_view a, const Name& b) { return a == std::string_view(b); }
inline bool operator!=(const Name& a, std::string_view b) { return !(a == b); }

} // namespace cimhost

#endif
