#include "tools/host-emulation/HostConnection.h"

#include "lib/cf/HostAbi.h"
#include "tools/host-emulation/HostAbiSlots.h"

namespace host_emulation {

namespace {

std::u16string Text(const WCHAR_T* text) { return text ? std::u16string(text) : std::u16string(); }

// What GetInterface answers for a service object, as the platform does it:
// one word past the object on Windows, the object itself on Linux.
#if defined(__linux__)
constexpr std::ptrdiff_t kServiceAnswerOffset = 0;
#else
constexpr std::ptrdiff_t kServiceAnswerOffset = static_cast<std::ptrdiff_t>(sizeof(void*));
#endif

}  // namespace

struct ConnectionSlots {
    static HostConnection& Self(void* object) { return *static_cast<HostConnection::Object*>(object)->owner; }
    static void Record(void* object, std::string operation, std::vector<std::u16string> texts = {}, long number = 0) {
        Self(object).calls_.push_back(ConnectionCall{std::move(operation), std::move(texts), number});
    }

    static void ADDIN_API Destructor(void*) {}
    static bool ADDIN_API AddError(void* self, unsigned short code, const WCHAR_T* source, const WCHAR_T* description,
                                   long status) {
        Self(self).errors_.push_back(ErrorReport{code, Text(source), Text(description), status});
        Record(self, "AddError", {Text(source), Text(description)}, status);
        return true;
    }
    static bool ADDIN_API Read(void* self, WCHAR_T* key, tVariant* value, long* error, WCHAR_T** description) {
        HostConnection& connection = Self(self);
        Record(self, "Read", {Text(key)});
        if (value) *value = connection.readValue;
        if (error) *error = connection.readErrorCode;
        if (description) *description = connection.readErrorDescription.data();
        return true;
    }
    static bool ADDIN_API Write(void* self, WCHAR_T* key, tVariant* value) {
        const bool text = value != nullptr && value->vt == VTYPE_PWSTR;
        Record(self, "Write", {Text(key), text ? Text(value->pwstrVal) : u""}, value ? value->vt : -1);
        return true;
    }
    static bool ADDIN_API RegisterProfileAs(void* self, WCHAR_T* name) {
        Record(self, "RegisterProfileAs", {Text(name)});
        return true;
    }
    static bool ADDIN_API SetEventBufferDepth(void* self, long depth) {
        Self(self).eventBufferDepth = depth;
        Record(self, "SetEventBufferDepth", {}, depth);
        return true;
    }
    static long ADDIN_API GetEventBufferDepth(void* self) {
        Record(self, "GetEventBufferDepth");
        return Self(self).eventBufferDepth;
    }
    static bool ADDIN_API ExternalEvent(void* self, WCHAR_T* source, WCHAR_T* message, WCHAR_T* data) {
        Record(self, "ExternalEvent", {Text(source), Text(message), Text(data)});
        return true;
    }
    static void ADDIN_API CleanEventBuffer(void* self) { Record(self, "CleanEventBuffer"); }
    static bool ADDIN_API SetStatusLine(void* self, WCHAR_T* text) {
        Record(self, "SetStatusLine", {Text(text)});
        return true;
    }
    static void ADDIN_API ResetStatusLine(void* self) { Record(self, "ResetStatusLine"); }
    static void* ADDIN_API GetInterface(void* self, int32_t selector) {
        HostConnection& connection = Self(self);
        Record(self, "GetInterface", {}, selector);
        if (!connection.offerServices || (selector != 0 && selector != 1)) return nullptr;
        auto* service = selector == 0 ? &connection.messageBox_ : &connection.platformInfo_;
        return reinterpret_cast<char*>(service) + kServiceAnswerOffset;
    }

    // Message box and platform information: no destructor slot in their tables.
    static bool ADDIN_API Confirm(void* self, const WCHAR_T* question, tVariant* answer) {
        Record(self, "Confirm", {Text(question)});
        answer->vt = VTYPE_BOOL;
        answer->bVal = Self(self).confirmAnswer;
        return true;
    }
    static bool ADDIN_API Alert(void* self, const WCHAR_T* text) {
        Record(self, "Alert", {Text(text)});
        return true;
    }
    static const void* ADDIN_API GetPlatformInfo(void* self) {
        Record(self, "GetPlatformInfo");
        return &Self(self).appInfo;
    }
};

HostConnection::HostConnection() {
    for (int i = 0; i < kDtorSlots; ++i) slots_.push_back(reinterpret_cast<const void*>(&ConnectionSlots::Destructor));
    for (const void* slot : {
             reinterpret_cast<const void*>(&ConnectionSlots::AddError),
             reinterpret_cast<const void*>(&ConnectionSlots::Read),
             reinterpret_cast<const void*>(&ConnectionSlots::Write),
             reinterpret_cast<const void*>(&ConnectionSlots::RegisterProfileAs),
             reinterpret_cast<const void*>(&ConnectionSlots::SetEventBufferDepth),
             reinterpret_cast<const void*>(&ConnectionSlots::GetEventBufferDepth),
             reinterpret_cast<const void*>(&ConnectionSlots::ExternalEvent),
             reinterpret_cast<const void*>(&ConnectionSlots::CleanEventBuffer),
             reinterpret_cast<const void*>(&ConnectionSlots::SetStatusLine),
             reinterpret_cast<const void*>(&ConnectionSlots::ResetStatusLine),
             reinterpret_cast<const void*>(&ConnectionSlots::GetInterface),
         })
        slots_.push_back(slot);
    object_ = Object{slots_.data(), this};
    messageBoxSlots_ = {reinterpret_cast<const void*>(&ConnectionSlots::Confirm),
                        reinterpret_cast<const void*>(&ConnectionSlots::Alert)};
    messageBox_ = Object{messageBoxSlots_.data(), this};
    platformInfoSlots_ = {reinterpret_cast<const void*>(&ConnectionSlots::GetPlatformInfo)};
    platformInfo_ = Object{platformInfoSlots_.data(), this};
}

}  // namespace host_emulation
