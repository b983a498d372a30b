#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "jvm_test_support.h"
#include "linux_folders.h"
#include "recording_messages.h"
#include "shared_vm.h"
#include "vm/vm_creation.h"

namespace {

JavaVmSlots slots;

class SharedVm final : public ::testing::Environment {
public:
    void SetUp() override {
        VmOptionList options = testVmOptions();
        options.push_back("-Djlaunch.probe=seen by Java");
        LinuxFolders folders(std::filesystem::temp_directory_path());
        RecordingMessages messages;
        if (!createJavaVm(&JNI_CreateJavaVM, options, {}, folders, slots, messages)) {
            ADD_FAILURE() << "the shared VM could not be created";
            std::abort();
        }
    }
};

} // namespace

JavaVM* sharedVm() { return slots.vm; }

JNIEnv* mainEnv() { return slots.env; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SharedVm);  // owned by GoogleTest
    return RUN_ALL_TESTS();
}
