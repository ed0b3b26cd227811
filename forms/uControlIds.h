// Control identifiers of the windows, shared by the views and the tests that
// drive them by window messages.
#pragma once

namespace forms::ids {

// Buttons that end a window carry the system's OK and Cancel identifiers.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// "Просмотр лога"
inline constexpr int kLogFiles = 101;
inline constexpr int kOpenDir = 102;
inline constexpr int kLogText = 103;

// "Дополнительные настройки"
inline constexpr int kNoButton = 200;  // its default button: none of its controls
inline constexpr int kFirmWare = 201;
inline constexpr int kPages = 202;
inline constexpr int kPower1 = 210, kPower2 = 211, kPrinterMedia = 212, kRunningMessage = 213;
inline constexpr int kPrice1 = 214, kPrice2 = 215;
inline constexpr int kPLUNumber = 220, kBarcode = 221, kBarcodeOnStub = 222, kTotalWeight = 223, kTicketNo = 224,
                     kHeader = 225, kFooter = 226, kTare = 227, kStub = 228;
inline constexpr int kMagazName = 230, kStoreAddress = 231, kDate = 232, kTime = 233, kCurrentDateTime = 234;
inline constexpr int kOpers = 240, kOperEdit = 241;
inline constexpr int kPackageDate = 250, kPackageDateText = 251, kBestBeforeDate = 252, kBestBeforeDateText = 253,
                     kSellByDate = 254, kSellByDateText = 255;
inline constexpr int kPLU1 = 256, kPLU2 = 257, kDopText = 258, kPLU2Label = 259;
inline constexpr int kLabelFormat = 260, kLabelTemplatePath = 261, kBrowseTemplatePath = 262;
inline constexpr int kShkFormat = 263, kShkPref = 264;

// "Имя оператора"
inline constexpr int kOperNum = 301, kOperName = 302;

// The help window without an HTML engine: the document text and the button
// that opens the page in the system's browser.
inline constexpr int kDocText = 401, kDocOpenInBrowser = 402;

}  // namespace forms::ids
