#include "tools/addin-host/HostArguments.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "lib/cf/TextUtils.h"
#include "tools/host-emulation/HostValues.h"

namespace addin_host {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

int32_t ParseInt(const std::string& text) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        throw std::runtime_error("not a 32-bit integer: " + text);
    return static_cast<int32_t>(value);
}

double ParseDouble(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (text.empty() || in.fail() || !in.eof()) throw std::runtime_error("not a number: " + text);
    return value;
}

bool ParseBool(const std::string& text) {
    if (text == "true" || text == "1") return true;
    if (text == "false" || text == "0") return false;
    throw std::runtime_error("not a boolean (true/false): " + text);
}

std::string Utf8(const tVariant& value) { return cf::ToUtf8(host_emulation::StringOf(value)); }

}  // namespace

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

tVariant ParseArgument(const std::string& text, host_emulation::HostMemoryManager& memory) {
    using namespace host_emulation;
    if (StartsWith(text, "i:")) return IntValue(ParseInt(text.substr(2)));
    if (StartsWith(text, "d:")) return DoubleValue(ParseDouble(text.substr(2)));
    if (StartsWith(text, "b:")) return BoolValue(ParseBool(text.substr(2)));
    if (StartsWith(text, "s:")) return StringValue(memory, cf::FromUtf8(text.substr(2)));
    if (text == "empty") return EmptyValue();
    if (StartsWith(text, "@")) {
        std::string content = ReadTextFile(text.substr(1));
        if (StartsWith(content, "\xEF\xBB\xBF")) content.erase(0, 3);
        return StringValue(memory, cf::FromUtf8(content));
    }
    return StringValue(memory, cf::FromUtf8(text));
}

std::string DescribeValue(const tVariant& value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    switch (value.vt) {
        case VTYPE_EMPTY: out << "(empty)"; break;
        case VTYPE_I4: out << value.intVal; break;
        case VTYPE_I8: out << value.llVal; break;
        case VTYPE_R8: out << value.dblVal; break;
        case VTYPE_DATE: out << "date " << value.date; break;
        case VTYPE_BOOL: out << (value.bVal ? "true" : "false"); break;
        case VTYPE_PWSTR: out << Utf8(value); break;
        case VTYPE_BLOB: out << "<blob: " << value.strLen << " bytes>"; break;
        default: out << "(type " << value.vt << ")"; break;
    }
    return out.str();
}

std::vector<std::string> SplitLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                word += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) throw std::runtime_error("unclosed quote in: " + line);
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace addin_host
