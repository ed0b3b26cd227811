// Loads the test library, logs one traced call into the folder given and
// ends, so that the library's unload step runs. Usage: trace_unload_helper FOLDER
#include <exception>
#include <iostream>

#include "common/Common.Log.h"
#include "lib/cf/TextUtils.h"
#include "tests/support/TestLibraries.h"
#include "tools/host-emulation/AddInClient.h"
#include "tools/host-emulation/HostValues.h"
#include "tests/unit/common/LogTestSupport.h"

using namespace host_emulation;

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    try {
        log_tests::SetEnvironment(common::kLogDirVariable, cf::FromUtf8(argv[1]));
        HostMemoryManager memory;
        HostConnection connection;
        AddInLibrary library(TestFrameLibraryPath());
        ComponentClient control(library, u"SecondTestComponent", memory, &connection);
        tVariant result = EmptyValue();
        HostParams mode(memory, {IntValue(static_cast<int32_t>(common::TLogMode::lmAll))});
        const bool switched = control.CallAsFunc(control.FindMethod(u"SetLogMode"), &result, mode.data(), mode.count());
        if (!switched || !control.CallAsFunc(control.FindMethod(u"FileVersion"), &result, nullptr, 0)) {
            std::cerr << cf::ToUtf8(control.LastErrorDescription()) << "\n";
            return 3;
        }
        Release(memory, result);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
