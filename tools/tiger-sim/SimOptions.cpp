#include "tools/tiger-sim/SimOptions.h"

#include <stdexcept>

namespace tiger_sim {

namespace {

uint64_t Number(const std::string& option, const std::string& text, uint64_t max) {
    std::size_t used = 0;
    unsigned long long value = 0;
    try {
        value = std::stoull(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || text[0] == '-' || value > max) {
        throw std::invalid_argument(option + " needs a number from 0 to " + std::to_string(max) + ", not '" + text + "'");
    }
    return value;
}

}  // namespace

TSimOptions ParseOptions(const std::vector<std::string>& args) {
    TSimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        bool inlineValue = false;
        if (const std::size_t eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
            inlineValue = true;
        }
        if (option == "--help" || option == "-h") {
            options.Help = true;
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) throw std::invalid_argument(option + " needs a value");
            value = args[++i];
        }
        if (option == "--port") {
            options.Port = static_cast<uint16_t>(Number(option, value, 65535));
        } else if (option == "--state") {
            options.StateFile = value;
        } else if (option == "--journal") {
            options.JournalFile = value;
        } else if (option == "--refuse-at") {
            options.RefuseAt.insert(Number(option, value, UINT64_MAX));
        } else if (option == "--close-at") {
            options.CloseAt.insert(Number(option, value, UINT64_MAX));
        } else if (option == "--silent-at") {
            options.SilentAt.insert(Number(option, value, UINT64_MAX));
        } else if (option == "--delay-ms") {
            options.DelayMs = static_cast<int>(Number(option, value, 600000));
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return options;
}

std::string HelpText() {
    return "Usage: tiger-sim [options]\n"
           "A label-printing scale on TCP for tests and demonstrations: it listens on 127.0.0.1,\n"
           "serves one connection at a time (reconnects welcome), checks every frame\n"
           "(start byte, length fields, CRC-16) and answers as the scale does:\n"
           "0x06 to writes, 0x66 and the record to reads, 0x15 to a bad frame or an unknown\n"
           "command. Frames for tables outside the command set are label layouts: stored as\n"
           "given and acknowledged.\n"
           "\n"
           "Options:\n"
           "  --port N        listen on port N; 0 (the default) picks a free port\n"
           "  --state FILE    after every frame, write the scale's state (goods, tare, company,\n"
           "                  texts, operators, clock, options, barcode format, labels) as JSON\n"
           "  --journal FILE  append every frame as one JSON line: hex, decoded fields, answer\n"
           "  --refuse-at K   answer frame K (counted from 1 since start) with 0x15\n"
           "  --close-at K    drop the connection instead of answering frame K\n"
           "  --silent-at K   never answer frame K (the connection stays open)\n"
           "  --delay-ms D    send every answer D milliseconds late\n"
           "  --help          show this text\n"
           "The fault options may be repeated. A refused, dropped or unanswered frame changes\n"
           "nothing in the state.\n"
           "\n"
           "The first line printed is \"PORT <n>\". Ctrl+C or SIGTERM stops the simulator,\n"
           "which then prints a one-line summary of what it received.\n";
}

}  // namespace tiger_sim
