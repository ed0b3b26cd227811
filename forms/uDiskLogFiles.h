// The log folder and its files on disk.
#pragma once

#include "forms/uFormServices.h"

namespace forms {

class TDiskLogFiles : public ILogFiles {
public:
    std::u16string LogFolder() override;
    std::vector<std::u16string> EntryNames(const std::u16string& AFolder) override;
    std::optional<TFileStamp> Stamp(const std::u16string& APath) override;
    std::optional<std::string> ReadFrom(const std::u16string& APath, uint64_t AOffset) override;
};

}  // namespace forms
