#include "forms/ufmOpersEditTiger.h"

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace forms {

TfmOpersEditTiger::TfmOpersEditTiger(int ANumber, std::u16string AName) : FNumber(ANumber), FName(std::move(AName)) {}

std::u16string TfmOpersEditTiger::edNum() const { return cf::IntToStr(FNumber); }

void TfmOpersEditTiger::btnOkClick(const std::u16string& AName) {
    if (AName.size() > kOperatorNameLength)
        throw cf::Exception(u"Имя оператора не может быть длиннее " + cf::IntToStr(static_cast<int64_t>(kOperatorNameLength)) +
                            u" символов");
    FName = AName;
}

}  // namespace forms
