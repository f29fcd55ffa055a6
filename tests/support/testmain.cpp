// The main() of every test program. The paths a test needs are compiled in, so
// that a test program run by hand behaves as under CTest; the environment may
// still override each of them.

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    // Run with the user's locale, as QApplication makes the editor do: the pass
    // under a decimal-comma locale must meet the formats with ',' in force.
    std::setlocale(LC_ALL, "");
    // As every program does: a file-size limit fails a save instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TESSARIN_TEST_OUTPUT", TESSARIN_TEST_OUTPUT_DEFAULT, 0);
    setenv("TESSARIN_SOURCE_DIR", TESSARIN_SOURCE_DIR_DEFAULT, 0);
    setenv("TESSARIN_BIN_DIR", TESSARIN_BIN_DIR_DEFAULT, 0);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
