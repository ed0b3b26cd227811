#include "tools/tiger-sim/ScaleModel.h"

#include "device/uCodePages.h"
#include "device/uFrameFields.h"
#include "device/uScaleCommands.h"
#include "lib/cf/TextUtils.h"
#include "tools/tiger-sim/Json.h"

namespace tiger_sim {

namespace {

using device::TCommandCode;

const std::string kAck(1, static_cast<char>(device::kACK));

std::string Le(uint32_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Fit(const std::string& bytes, std::size_t width, char fill = ' ') {
    std::string out = bytes.substr(0, width);
    out.resize(width, fill);
    return out;
}

std::string DataAnswer(const std::string& further) { return std::string(1, char(device::kDataAnswer)) + further; }

bool Matches(const TParsedFrame& f, const TCommandCode& c) {
    return f.Table == c.Table && f.Operation == c.Operation && f.Parameter == c.Parameter &&
           f.Data.size() == c.DataLength;
}

std::string PluJson(const TPluEntry& e) {
    JsonObject o;
    o.Num("plu", e.Plu).Str("barcode", TextOf866(e.Barcode)).Str("name_line1", TextOf866(e.Line1));
    if (e.TwoLine) o.Str("name_line2", TextOf866(e.Line2));
    o.Num("price_hundredths", e.PriceHundredths)
        .Num("tax_number", e.TaxNumber)
        .Num("tare_number", e.TareNumber)
        .Num("fix_weight", e.FixWeight)
        .Num("group_number", e.GroupNumber)
        .Bool("is_weight_goods", e.IsWeightGoods)
        .Num("shelf_life", e.ShelfLife)
        .Num("sell_by_date", e.SellByDate)
        .Num("text_id", e.TextID);
    return o.Text();
}

std::string DateTimeJson(const std::array<uint8_t, 6>& v) {
    return JsonObject().Num("day", v[0]).Num("month", v[1]).Num("year", v[2]).Num("hour", v[3]).Num("minute", v[4])
        .Num("second", v[5]).Text();
}

std::string OperatorOptionsJson(const std::array<uint8_t, 5>& v) {
    return JsonObject().Num("printer_media", v[0]).Num("ticket_setting0", v[1]).Num("running_message", v[2])
        .Num("use_key", v[3]).Num("ticket_setting1", v[4]).Text();
}

std::string LabelOptionsJson(uint8_t kind, const TLabelOptionsEntry& e) {
    JsonObject o;
    o.Num("kind", kind).Bool("two_line", e.TwoLine).Num("font_plu1", e.FontPLU1);
    if (e.TwoLine) o.Num("font_plu2", e.FontPLU2);
    return o.Num("font_additional_text", e.FontDopText).Num("print_store_address", e.PrintStoreAddress)
        .Num("print_format", e.PrintFormat).Text();
}

TPluEntry DecodePlu(const std::string& d) {
    TPluEntry e;
    e.TwoLine = d.size() == device::kWritePluTwoLine.DataLength;
    const std::size_t nameWidth = e.TwoLine ? 60 : 28;
    e.Plu = ReadLE(d, 0, 4);
    e.Barcode = d.substr(4, 13);
    e.Line1 = d.substr(17, e.TwoLine ? 30 : 28);
    if (e.TwoLine) e.Line2 = d.substr(47, 30);
    const std::size_t at = 17 + nameWidth + 1;  // after the name and its 0x20
    e.PriceHundredths = ReadLE(d, at, 4);
    e.TaxNumber = static_cast<uint8_t>(d[at + 4]);
    e.TareNumber = static_cast<uint8_t>(d[at + 5]);
    e.FixWeight = static_cast<uint16_t>(ReadLE(d, at + 8, 2));
    e.GroupNumber = static_cast<uint16_t>(ReadLE(d, at + 12, 2));
    e.IsWeightGoods = ReadLE(d, at + 14, 2) == 0;
    e.ShelfLife = static_cast<uint16_t>(ReadLE(d, at + 16, 2));
    e.SellByDate = static_cast<uint16_t>(ReadLE(d, at + 18, 2));
    e.TextID = static_cast<uint16_t>(ReadLE(d, at + 20, 2));
    return e;
}

// The record as the scale hands it back: the two-line write layout, zero-filled to 117 bytes.
std::string PluRecordBytes(const TScaleState& s, uint32_t plu) {
    std::string record = Le(plu, 4);
    const auto found = s.Plu.find(plu);
    if (found == s.Plu.end()) {
        record += std::string(13, '0') + std::string(60, ' ') + ' ';
    } else {
        const TPluEntry& e = found->second;
        record += e.Barcode + Fit(e.Line1, 30) + Fit(e.Line2, 30) + ' ' + Le(e.PriceHundredths, 4) +
                  char(e.TaxNumber) + char(e.TareNumber) + Le(0, 2) + Le(e.FixWeight, 2) + Le(0, 2) +
                  Le(e.GroupNumber, 2) + Le(e.IsWeightGoods ? 0 : 1, 2) + Le(e.ShelfLife, 2) +
                  Le(e.SellByDate, 2) + Le(e.TextID, 2);
    }
    return Fit(record, device::kReadPLU.FurtherAnswer, '\0');
}

// Firmware mark, PLU count, tare count, clock and the start of the company name.
std::string ConfBytes(const TScaleState& s) {
    std::string conf = std::string(1, char(s.FirmwareMark)) + Le(static_cast<uint32_t>(s.Plu.size()), 2) +
                       char(s.Tare.size());
    for (int i = 0; i < 6; ++i) conf += s.DateTime ? char((*s.DateTime)[i]) : '\0';
    conf += Fit(s.Company.value_or(""), 30);
    return Fit(conf, device::kReadConf.FurtherAnswer, '\0');
}

std::string TextRecordBytes(const TScaleState& s, uint16_t id) {
    const auto found = s.AdditionalTexts.find(id);
    const std::string text = found == s.AdditionalTexts.end() ? std::string(200, ' ') : found->second;
    return Fit(Le(id, 2) + std::string(15, '\0') + Fit(text, 200), device::kReadAdditionalText.FurtherAnswer, '\0');
}

TDecodedFrame Plu(const TParsedFrame& f) {
    const std::string& d = f.Data;
    if (Matches(f, device::kWritePluOneLine) || Matches(f, device::kWritePluTwoLine)) {
        const TPluEntry e = DecodePlu(d);
        return {"WritePlu", PluJson(e), [e](TScaleState& s) {
                    s.Plu[e.Plu] = e;
                    return kAck;
                }};
    }
    if (Matches(f, device::kClearPLU)) {
        return {"ClearPLU", "{}", [](TScaleState& s) {
                    s.Plu.clear();
                    return kAck;
                }};
    }
    const uint32_t plu = ReadLE(d, 0, 4);
    const std::string fields = JsonObject().Num("plu", plu).Text();
    if (Matches(f, device::kDeletePLU)) {
        return {"DeletePLU", fields, [plu](TScaleState& s) {
                    s.Plu.erase(plu);
                    return kAck;
                }};
    }
    if (Matches(f, device::kReadPLU)) {
        return {"ReadPLU", fields, [plu](TScaleState& s) { return DataAnswer(PluRecordBytes(s, plu)); }};
    }
    return {"Unknown", "{}", {}};
}

TDecodedFrame Texts(const TParsedFrame& f) {
    const uint16_t id = static_cast<uint16_t>(ReadLE(f.Data, 0, 2));
    if (Matches(f, device::kWriteAdditionalText)) {
        const std::string text = f.Data.substr(2);
        return {"WriteAdditionalText", JsonObject().Num("text_id", id).Str("text", TextOf866(text)).Text(),
                [id, text](TScaleState& s) {
                    s.AdditionalTexts[id] = text;
                    return kAck;
                }};
    }
    if (Matches(f, device::kReadAdditionalText)) {
        return {"ReadAdditionalText", JsonObject().Num("text_id", id).Text(),
                [id](TScaleState& s) { return DataAnswer(TextRecordBytes(s, id)); }};
    }
    return {"Unknown", "{}", {}};
}

// An indexed text table: operators (from 0) or date texts (from 1).
TDecodedFrame IndexedText(const TParsedFrame& f, const char* command, std::map<uint16_t, std::string> TScaleState::*table) {
    const uint16_t index = static_cast<uint16_t>(ReadLE(f.Data, 0, 2));
    const std::string text = f.Data.substr(2);
    return {command, JsonObject().Num("index", index).Str("text", TextOf866(text)).Text(),
            [index, text, table](TScaleState& s) {
                (s.*table)[index] = text;
                return kAck;
            }};
}

TDecodedFrame LabelOptions(const TParsedFrame& f) {
    const std::string& d = f.Data;
    const uint8_t kind = static_cast<uint8_t>(d[0]);
    TLabelOptionsEntry e;
    e.TwoLine = f.FirmwareMark != 0x02;
    e.FontPLU1 = static_cast<uint8_t>(d[6]);
    if (e.TwoLine) {
        e.FontPLU2 = static_cast<uint8_t>(d[7]);
        e.FontDopText = static_cast<uint8_t>(d[8]);
        e.PrintStoreAddress = static_cast<uint8_t>(d[9]);
    } else {
        e.FontDopText = static_cast<uint8_t>(d[7]);
        e.PrintStoreAddress = static_cast<uint8_t>(d[8]);
    }
    e.PrintFormat = static_cast<uint16_t>(ReadLE(d, 14, 2));
    return {"WriteLabelOptions", LabelOptionsJson(kind, e), [kind, e](TScaleState& s) {
                s.LabelOptions[kind] = e;
                return kAck;
            }};
}

TDecodedFrame Known(const TParsedFrame& f) {
    const std::string& d = f.Data;
    if (f.Table == device::kClearPLU.Table) return Plu(f);
    if (f.Table == device::kWriteAdditionalText.Table) return Texts(f);
    if (Matches(f, device::kReadConf)) {
        return {"ReadConf", "{}", [](TScaleState& s) { return DataAnswer(ConfBytes(s)); }};
    }
    if (Matches(f, device::kWriteCompany)) {
        const std::string name = d.substr(2);
        return {"WriteCompany", JsonObject().Str("name", TextOf866(name)).Text(), [name](TScaleState& s) {
                    s.Company = name;
                    return kAck;
                }};
    }
    if (Matches(f, device::kWriteTare)) {
        const uint16_t number = static_cast<uint16_t>(ReadLE(d, 0, 2));
        const uint32_t weight = ReadLE(d, 2, 4);
        return {"WriteTare", JsonObject().Num("number", number).Num("weight", weight).Text(),
                [number, weight](TScaleState& s) {
                    s.Tare[number] = weight;
                    return kAck;
                }};
    }
    if (Matches(f, device::kWriteDateTime)) {
        std::array<uint8_t, 6> v{};
        for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>(d[i]);
        return {"WriteDateTime", DateTimeJson(v), [v](TScaleState& s) {
                    s.DateTime = v;
                    return kAck;
                }};
    }
    if (Matches(f, device::kWriteOperatorOptions)) {
        const std::array<uint8_t, 5> v{uint8_t(d[2]), uint8_t(d[7]), uint8_t(d[8]), uint8_t(d[9]), uint8_t(d[10])};
        return {"WriteOperatorOptions", OperatorOptionsJson(v), [v](TScaleState& s) {
                    s.OperatorOptions = v;
                    return kAck;
                }};
    }
    if (Matches(f, device::kWriteOpers)) return IndexedText(f, "WriteOpers", &TScaleState::Operators);
    if (Matches(f, device::kWriteDateText)) return IndexedText(f, "WriteDateText", &TScaleState::DateTexts);
    if (Matches(f, device::kWriteBarcodeFormat)) {
        return {"WriteBarcodeFormat", JsonObject().Str("format", TextOf866(d)).Text(), [d](TScaleState& s) {
                    s.BarcodeFormat = d;
                    return kAck;
                }};
    }
    if (Matches(f, device::kWriteLabelOptions)) return LabelOptions(f);
    return {"Unknown", "{}", {}};
}

bool IsCommandTable(uint8_t table) {
    for (const TCommandCode& c : {device::kClearPLU, device::kWriteAdditionalText, device::kReadConf,
                                  device::kWriteCompany, device::kWriteTare, device::kWriteDateTime,
                                  device::kWriteOperatorOptions, device::kWriteOpers, device::kWriteDateText,
                                  device::kWriteBarcodeFormat, device::kWriteLabelOptions}) {
        if (c.Table == table) return true;
    }
    return false;
}

std::string Hex(const std::string& bytes) { return cf::ToUtf8(device::BytesToHex(bytes)); }

template <typename Map, typename Fn>
std::string ArrayOf(const Map& map, Fn item) {
    std::vector<std::string> items;
    for (const auto& [key, value] : map) items.push_back(item(key, value));
    return JsonArray(items);
}

}  // namespace

std::string TextOf866(const std::string& bytes) {
    std::string text = bytes;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return cf::ToUtf8(device::DecodeCodePage(text, device::TCodePage::cp866));
}

TDecodedFrame DecodeFrame(const TParsedFrame& frame) {
    if (IsCommandTable(frame.Table)) return Known(frame);
    const std::string bytes = frame.Bytes;
    return {"WriteLabel", JsonObject().Num("table", frame.Table).Num("data_length", frame.Data.size()).Text(),
            [bytes](TScaleState& s) {
                s.Labels.push_back(bytes);
                return kAck;
            }};
}

std::string TScaleState::ToJson() const {
    JsonObject o;
    o.Num("firmware_mark", FirmwareMark);
    o.Raw("plu", ArrayOf(Plu, [](auto, const TPluEntry& e) { return PluJson(e); }));
    o.Raw("tare", ArrayOf(Tare, [](uint16_t n, uint32_t w) { return JsonObject().Num("number", n).Num("weight", w).Text(); }));
    o.Raw("company", Company ? JsonQuote(TextOf866(*Company)) : "null");
    o.Raw("additional_texts", ArrayOf(AdditionalTexts, [](uint16_t id, const std::string& t) {
              return JsonObject().Num("text_id", id).Str("text", TextOf866(t)).Text();
          }));
    const auto indexed = [](uint16_t i, const std::string& t) {
        return JsonObject().Num("index", i).Str("text", TextOf866(t)).Text();
    };
    o.Raw("operators", ArrayOf(Operators, indexed));
    o.Raw("date_texts", ArrayOf(DateTexts, indexed));
    o.Raw("date_time", DateTime ? DateTimeJson(*DateTime) : "null");
    o.Raw("operator_options", OperatorOptions ? OperatorOptionsJson(*OperatorOptions) : "null");
    o.Raw("barcode_format", BarcodeFormat ? JsonQuote(TextOf866(*BarcodeFormat)) : "null");
    o.Raw("label_options", ArrayOf(LabelOptions, LabelOptionsJson));
    std::vector<std::string> labels;
    for (const std::string& l : Labels) labels.push_back(JsonQuote(Hex(l)));
    o.Raw("labels", JsonArray(labels));
    return o.Text();
}

}  // namespace tiger_sim
