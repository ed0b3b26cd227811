// The operator name window "Имя оператора": one operator's number and name.
#pragma once

#include <cstddef>
#include <string>

namespace forms {

inline constexpr std::size_t kOperatorNameLength = 20;

class TfmOpersEditTiger {
public:
    TfmOpersEditTiger(int ANumber, std::u16string AName);

    std::u16string edNum() const;
    const std::u16string& edName() const { return FName; }
    // The name the user confirmed with OK. Checked again here, because a
    // program or a paste can put any text into the field.
    void btnOkClick(const std::u16string& AName);

private:
    int FNumber;
    std::u16string FName;
};

// Runs the operator name window modally; true when it was closed with OK.
class IOperatorEditor {
public:
    virtual ~IOperatorEditor() = default;
    virtual bool Edit(TfmOpersEditTiger& AWindow) = 0;
};

}  // namespace forms
