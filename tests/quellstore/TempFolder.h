#ifndef QUELLSTORE_TEST_TEMPFOLDER_H
#define QUELLSTORE_TEST_TEMPFOLDER_H

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

// A fresh folder under /tmp, removed with its content at the end.
class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/quellstore-test-XXXXXX";
        if (!::mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        folder = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return folder + "/" + name; }

    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    std::string read(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> entries(const std::string& sub = ".") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path(sub)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string folder;
};

#endif
