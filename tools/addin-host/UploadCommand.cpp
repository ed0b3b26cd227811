// addin-host upload: the main job in one command. Sets the connection
// parameters, opens the driver and uploads goods (in batches, as the
// platform does), tare, additional texts and the company name.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <cstring>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include <pugixml.hpp>

#include "lib/cf/TextUtils.h"
#include "tools/host-emulation/HostValues.h"
#include "tools/addin-host/Commands.h"
#include "tools/addin-host/HostArguments.h"
#include "tools/addin-host/HostSession.h"

namespace addin_host {

namespace {

struct UploadOptions {
    std::string ip, port, firmware = "1", goods, tare, texts, company;
    bool companyGiven = false, log = false;
    std::size_t batch = 100;
};

UploadOptions ParseUploadOptions(const std::vector<std::string>& words) {
    UploadOptions o;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= words.size()) throw std::runtime_error(w + " needs a value");
            return words[++i];
        };
        if (w == "--ip") o.ip = value();
        else if (w == "--port") o.port = value();
        else if (w == "--firmware") o.firmware = value();
        else if (w == "--goods") o.goods = value();
        else if (w == "--tare") o.tare = value();
        else if (w == "--texts") o.texts = value();
        else if (w == "--company") { o.company = value(); o.companyGiven = true; }
        else if (w == "--log") o.log = true;
        else if (w == "--batch") o.batch = std::stoul(value());
        else throw std::runtime_error("unknown option " + w);
    }
    if (o.ip.empty() || o.port.empty()) throw std::runtime_error("usage: addin-host upload --ip A --port P ...");
    if (o.batch == 0) o.batch = 1;
    return o;
}

// The records of a table document, each as the text of a one-batch document.
std::vector<std::string> BatchDocuments(const std::string& path, std::size_t batch, std::size_t& records) {
    pugi::xml_document source;
    const std::string content = ReadTextFile(path);
    if (!source.load_buffer(content.data(), content.size())) throw std::runtime_error(path + " is not XML");
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node row : source.child("Table").children())
        if (row.type() == pugi::node_element) rows.push_back(row);
    records = rows.size();
    std::vector<std::string> documents;
    for (std::size_t start = 0; start < rows.size() || (start == 0 && documents.empty()); start += batch) {
        pugi::xml_document part;
        pugi::xml_node table = part.append_child("Table");
        for (std::size_t i = start; i < rows.size() && i < start + batch; ++i) table.append_copy(rows[i]);
        std::ostringstream text;
        part.save(text, "", pugi::format_raw | pugi::format_no_declaration);
        documents.push_back(text.str());
        if (rows.empty()) break;
    }
    return documents;
}

class Uploader {
public:
    Uploader(HostSession& session) : session_(session) {}

    bool Set(const char* name, tVariant value) {
        std::vector<tVariant> args;
        args.push_back(host_emulation::StringValue(session_.Memory(), cf::FromUtf8(name)));
        args.push_back(value);
        return Check("SetParameter " + std::string(name), session_.Call("SetParameter", std::move(args)));
    }

    bool Run(const std::string& method, std::vector<tVariant> args) {
        return Check(method, session_.Call(method, std::move(args)));
    }

    tVariant Text(const std::string& text) { return host_emulation::StringValue(session_.Memory(), cf::FromUtf8(text)); }

    std::string lastError;

private:
    bool Check(const std::string& what, const CallOutcome& outcome) {
        for (const std::string& e : outcome.errors) std::cout << e << "\n";
        if (outcome.delivered && outcome.resultIsTrue) return true;
        lastError = outcome.delivered ? session_.LastError() : "the call failed";
        std::cout << what << ": " << lastError << "\n";
        return false;
    }
    HostSession& session_;
};

// Uploads a table in batches; answers how many records the driver confirmed.
std::size_t UploadTable(const char* label, const std::string& path, std::size_t batch,
                        const std::function<bool(const std::string& document, const char* stage)>& send, bool& ok) {
    std::size_t records = 0;
    const std::vector<std::string> documents = BatchDocuments(path, batch, records);
    std::size_t confirmed = 0;
    for (std::size_t i = 0; i < documents.size() && ok; ++i) {
        const char* stage = documents.size() == 1 ? "first" : i == 0 ? "first" : i + 1 == documents.size() ? "last" : "regular";
        ok = send(documents[i], stage);
        if (ok) confirmed = std::min(records, (i + 1) * batch);
        std::cout << label << ": " << confirmed << "/" << records << (ok ? "" : " (stopped)") << "\n" << std::flush;
    }
    return confirmed;
}

}  // namespace

int Upload(const Options& options) {
    const UploadOptions o = ParseUploadOptions(options.words);
    const auto started = std::chrono::steady_clock::now();
    HostSession session(options.library, options.timing);
    Uploader up(session);
    bool ok = up.Set("IPAddress", up.Text(o.ip)) &&
              up.Set("IPPort", host_emulation::DoubleValue(std::stod(o.port))) &&
              up.Set("FirmwareType", host_emulation::DoubleValue(std::stod(o.firmware))) &&
              up.Set("LogEnabled", host_emulation::BoolValue(o.log)) &&
              up.Set("ExtLogEnabled", host_emulation::BoolValue(o.log));
    if (ok) {
        std::vector<tVariant> args;
        args.push_back(host_emulation::EmptyValue());
        ok = up.Run("Open", std::move(args));
    }
    std::size_t goods = 0, tare = 0, texts = 0;
    if (ok && !o.goods.empty()) {
        goods = UploadTable("goods", o.goods, o.batch, [&](const std::string& doc, const char* stage) {
            std::vector<tVariant> args;
            args.push_back(host_emulation::EmptyValue());
            args.push_back(up.Text(doc));
            args.push_back(up.Text(stage));
            return up.Run("UploadGoods", std::move(args));
        }, ok);
    }
    if (ok && !o.tare.empty()) {
        tare = UploadTable("tare", o.tare, SIZE_MAX, [&](const std::string& doc, const char*) {
            std::vector<tVariant> args;
            args.push_back(host_emulation::EmptyValue());
            args.push_back(up.Text(doc));
            return up.Run("UploadTare", std::move(args));
        }, ok);
    }
    if (ok && !o.texts.empty()) {
        texts = UploadTable("texts", o.texts, SIZE_MAX, [&](const std::string& doc, const char*) {
            std::vector<tVariant> args;
            args.push_back(up.Text(doc));
            return up.Run("UploadAdditionalText", std::move(args));
        }, ok);
    }
    if (ok && o.companyGiven) {
        std::vector<tVariant> args;
        args.push_back(up.Text(o.company));
        ok = up.Run("UploadCompany", std::move(args));
    }
    std::vector<tVariant> closeArgs;
    closeArgs.push_back(host_emulation::EmptyValue());
    session.Call("Close", std::move(closeArgs));

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "summary: goods " << goods << ", tare " << tare << ", texts " << texts << ", company "
              << (o.companyGiven && ok ? "sent" : "not sent") << "; " << seconds << " s; driver answered "
              << (ok ? "true" : "false: " + up.lastError) << "\n";
    return ok ? 0 : 1;
}

}  // namespace addin_host
