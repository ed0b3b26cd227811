// Stand-ins for the windows' services: files held in memory, a shell that
// remembers what it was asked, a clock that says what the test sets.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "forms/uFormServices.h"

namespace forms_tests {

class FakeLogFiles : public forms::ILogFiles {
public:
    std::u16string Folder = u"/logs/";
    std::map<std::u16string, std::string> Files;  // name -> content
    std::map<std::u16string, int64_t> Times;       // name -> last-write time
    int FailReads = 0;                             // the next reads that fail
    int FolderAsked = 0;

    // Writes or appends and moves the file's time on.
    void Write(const std::u16string& name, const std::string& bytes) {
        Files[name] = bytes;
        ++Times[name];
    }
    void Append(const std::u16string& name, const std::string& bytes) { Write(name, Files[name] + bytes); }

    std::u16string LogFolder() override {
        ++FolderAsked;
        return Folder;
    }
    std::vector<std::u16string> EntryNames(const std::u16string& folder) override {
        std::vector<std::u16string> names;
        if (folder != Folder) return names;
        for (const auto& file : Files) names.push_back(file.first);
        return names;
    }
    std::optional<forms::TFileStamp> Stamp(const std::u16string& path) override {
        const auto file = Files.find(NameOf(path));
        if (file == Files.end()) return std::nullopt;
        return forms::TFileStamp{Times[file->first], file->second.size()};
    }
    std::optional<std::string> ReadFrom(const std::u16string& path, uint64_t offset) override {
        const auto file = Files.find(NameOf(path));
        if (file == Files.end() || offset > file->second.size()) return std::nullopt;
        if (FailReads > 0) {
            --FailReads;
            return std::nullopt;
        }
        return file->second.substr(static_cast<std::size_t>(offset));
    }

private:
    std::u16string NameOf(const std::u16string& path) const {
        return path.rfind(Folder, 0) == 0 ? path.substr(Folder.size()) : std::u16string();
    }
};

class FakeShell : public forms::IShell {
public:
    std::vector<std::u16string> Explored;
    void Explore(const std::u16string& folder) override { Explored.push_back(folder); }
};

class FakeClock : public forms::IClock {
public:
    explicit FakeClock(double value = 0) : Value(value) {}
    double Value;
    double Now() override { return Value; }
};

}  // namespace forms_tests
