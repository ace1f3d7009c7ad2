#include "core/Folders.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Seams.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedEnv() {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

class DefaultFileFolderTest : public test::KestrumTest {
protected:
    // A home of the test's own, with no documents folder named in its desktop settings.
    const std::string home = TempPath("home");
    const bool madeHome = fs::create_directory(home);
    ScopedEnv homeEnv{"HOME", home};
    ScopedEnv configEnv{"XDG_CONFIG_HOME", TempPath("config")};
};

TEST_F(DefaultFileFolderTest, WritableProgramDirectoryIsUsed) {
    const std::string program = TempPath("portable copy");
    fs::create_directory(program);
    SetProgramDirectory(program);
    EXPECT_EQ(DefaultFileFolder(), program);

    fs::create_directory(home + "/Documents");
    EXPECT_EQ(DefaultFileFolder(), program) << "a writable program directory comes first";
}

TEST_F(DefaultFileFolderTest, OtherwiseTheDocumentsFolderOrTheHomeFolder) {
    ASSERT_TRUE(madeHome);
    // Root may write to a folder whatever its mode says, so a program directory that does
    // not exist stands for an installed program's folder that the user may not write to.
    for (const std::string& program : {TempPath("installed/bin"), std::string()}) {
        SCOPED_TRACE(program);
        SetProgramDirectory(program);
        fs::remove_all(TempPath("config"));
        fs::remove_all(home + "/Documents");
        EXPECT_EQ(DefaultFileFolder(), home) << "no documents folder yet";

        fs::create_directory(home + "/Documents");
        EXPECT_EQ(DefaultFileFolder(), home + "/Documents");
    }
}

}  // namespace
}  // namespace kestrum
