#include "lib/cf/MethodTable.h"

#include "lib/cf/Exception.h"
#include "lib/cf/TextUtils.h"

namespace cf {

void RaiseIndexError(int64_t index) { throw Exception(u"Индекс за границами массива [" + IntToStr(index) + u"]"); }

void TMethodsList::Add(std::u16string name1, std::u16string name2, int32_t paramsCount, TObjectMethod handler) {
    if (FindInTable(name1) >= 0 || FindInTable(name2) >= 0)
        throw Exception(u"Метод с указанным именем уже зарегистрирован. [" + name1 + u"," + name2 + u"]");
    methods_.push_back(TMethod{std::move(name1), std::move(name2), paramsCount, std::move(handler)});
}

int32_t TMethodsList::FindInTable(const std::u16string& name) const {
    for (std::size_t i = 0; i < methods_.size(); ++i)
        if (SameText(methods_[i].MethodName1, name) || SameText(methods_[i].MethodName2, name))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t TMethodsList::Find(const std::u16string& name, const ExtFinder& findExt) const {
    const int32_t found = FindInTable(name);
    if (found >= 0 || !findExt) return found;
    const int32_t ext = findExt(name);
    return ext == -1 ? -1 : ext + kExtMethodBase;
}

const TMethod& TMethodsList::Get(int64_t number) const {
    if (!Contains(number)) RaiseIndexError(number);
    return methods_[static_cast<std::size_t>(number)];
}

void TMethodsList::Call(int64_t number, VarArrayData& args, Variant& result) const {
    const TMethod& method = Get(number);
    if (!method.Mt)
        throw EAssertionFailed(u"mt_Call: Method (Mt.Mt) is not assigned! (lib/cf/AddInLib2000, line 1733)");
    if (args.size() < static_cast<std::size_t>(method.ParamsCount))
        throw Exception(u"Недостаточно параметров метода " + method.MethodName2 + u": передано " +
                        IntToStr(static_cast<int64_t>(args.size())) + u", ожидается " + IntToStr(method.ParamsCount));
    // The handler may register or clear methods; call a copy, not the table's entry.
    TObjectMethod handler = method.Mt;
    handler(args, result);
}

}  // namespace cf
