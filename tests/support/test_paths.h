// Where the tests find the source tree's files and the build's programs and
// libraries. The values come from one source generated per build tree
// (test_paths.cpp.in): as compile definitions they would be absolute paths in
// every test object's command line, which ccache does not rewrite, and a
// clone in another folder would miss the cache on all of them.
#pragma once

#include <string>

namespace ms1::test::paths {

// In the source tree.
std::string SourceFolder();  // with the final slash
std::string SkinFolder();    // res/, with the final slash
std::string FakeBluezScript();
std::string FakeBluezBusConfig();
std::string UdevRule();

// In the build tree; folders without the final slash unless said.
std::string BuildFolder();
std::string CMakeProgram();
std::string ProgramFile();    // ms1-config as built
std::string ProgramFolder();  // app/: Hook.so and the real drivers beside it
std::string DemoFolder();     // the program set up on the virtual mouse
std::string DemoProgramFile();
std::string Ms1ctlFile();
std::string Ms1simFile();  // the virtual mouse's client, never installed
std::string HidVendorHelperFile();  // the udev rule's program
std::string InputHookFile();
std::string FeatureDriversFolder();
std::string VirtualDriversFolder();
std::string VirtualMouseSimulatorFile();
std::string FakeDriversFolder();       // one folder of stand-in drivers per case
std::string FakeHooksFolder();         // one folder of stand-in Hook.so per case
std::string CompleteFakeHookFolder();  // with the final slash

// The running test program's own folder, with the final slash: screenshots
// are left there for a look after the run.
std::string ArtifactFolder();

}  // namespace ms1::test::paths
