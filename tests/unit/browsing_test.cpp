#include "setup/browsing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/dbcs.h"

namespace {

using Paths = std::vector<std::string>;

// Stands in for the directory-list service: records every folder listed and,
// like the service, raises the path field's change notification inside each
// successful listing.
class FakeListing : public DirectoryListing {
 public:
  Browsing* browsing = nullptr;
  bool listAll = true;             // every folder can be listed
  std::set<std::string> listable;  // otherwise only these
  Paths listed;
  std::optional<std::string> selectedFolder;  // as the list hands it, "name\"; none: nothing selected
  std::string selectedDrive = "d:";

  int ListDrives(char* /*path*/) override { return 1; }

  int ListFolders(char* path) override {
    listed.emplace_back(path);
    if (!listAll && listable.count(path) == 0) return 0;
    browsing->OnPathChange();
    return 1;
  }

  void SelectedFolder(char* buffer, int size) override {
    if (selectedFolder) std::snprintf(buffer, static_cast<size_t>(size), "%s", selectedFolder->c_str());
  }

  void SelectedDrive(char* buffer, int size) override {
    std::snprintf(buffer, static_cast<size_t>(size), "%s", selectedDrive.c_str());
  }
};

// Records what each refresh writes into the installation-folder field.
class FakeScreen : public BrowsingScreen {
 public:
  explicit FakeScreen(const CString& targetDir) : m_targetDir(targetDir) {}
  void Refresh() override { shownTargets.push_back(m_targetDir.str()); }
  void ShowMessage(const char* text) override { messages.emplace_back(text); }

  Paths shownTargets;
  std::vector<std::string> messages;

 private:
  const CString& m_targetDir;
};

// The setup screen's browsing members, as initialisation leaves them.
struct Rig {
  explicit Rig(const CString& proposal = ProposedFolder())
      : currentDir(proposal), targetDir(proposal), browsing{listPath, currentDir, leftDefaultDir, targetDir,
                                                            listing,  screen,     proposal} {
    listing.browsing = &browsing;
  }

  char listPath[kListPathSize] = "c:\\";
  CString currentDir;
  int leftDefaultDir = 0;
  CString targetDir;
  FakeListing listing;
  FakeScreen screen{targetDir};
  Browsing browsing;

  void DoubleClick(const char* entry) {
    listing.selectedFolder = entry;
    browsing.OnFolderDoubleClick();
  }
  void PickDrive(const char* drive) {
    listing.selectedDrive = drive;
    browsing.OnDriveChange();
  }
};

std::string Failure(const std::string& path) { return "Directory: " + path + " Cannot be read"; }

TEST(Browsing, StartsAtTheProposedFolderOnDriveC) { EXPECT_EQ(ProposedFolder().str(), "c:\\data"); }

TEST(Browsing, EachStepFromEachKindOfFolder) {
  enum class Step { kEnter, kUp, kDrive };
  const char* const kShown = "as shown before";  // the field's text before the step
  struct Row {
    const char* what;
    const char* current;
    int flag;
    Step step;
    const char* arg;  // the folder entry as the list hands it, or the drive
    bool readable;
    const char* listed;  // nullptr: nothing is listed
    const char* currentAfter;
    int flagAfter;
    const char* targetAfter;
  };
  const Row rows[] = {
      {"enter from the untouched proposal", "c:\\data", 0, Step::kEnter, "alpha\\", true, "c:\\alpha", "c:\\alpha", 1,
       "c:\\alpha"},
      {"enter from the untouched proposal fails", "c:\\data", 0, Step::kEnter, "alpha\\", false, "c:\\alpha",
       "c:\\data", 1, kShown},
      {"enter from the proposal once left", "c:\\data", 1, Step::kEnter, "alpha\\", true, "c:\\data\\alpha",
       "c:\\data\\alpha", 1, "c:\\data\\alpha"},
      {"the proposal is matched by letter case", "C:\\data", 0, Step::kEnter, "alpha\\", true, "C:\\data\\alpha",
       "C:\\data\\alpha", 0, "C:\\data\\alpha"},
      {"enter below a root", "d:\\", 1, Step::kEnter, "alpha\\", true, "d:\\alpha", "d:\\alpha", 1, "d:\\alpha"},
      {"enter below a root fails", "d:\\", 1, Step::kEnter, "alpha\\", false, "d:\\alpha", "d:\\", 1, kShown},
      {"enter below a bare drive", "d:", 1, Step::kEnter, "alpha\\", true, "d:\\alpha", "d:\\alpha", 1, "d:\\alpha"},
      {"enter below a folder", "c:\\alpha", 1, Step::kEnter, "beta\\", true, "c:\\alpha\\beta", "c:\\alpha\\beta", 1,
       "c:\\alpha\\beta"},
      {"enter below a folder fails", "c:\\alpha", 1, Step::kEnter, "beta\\", false, "c:\\alpha\\beta", "c:\\alpha", 1,
       kShown},
      {"up without a backslash", "d:", 1, Step::kUp, "..\\", true, nullptr, "d:", 1, kShown},
      {"up with the backslash first", "\\alpha", 1, Step::kUp, "..\\", true, nullptr, "\\alpha", 1, kShown},
      {"up to a bare drive lists its root", "d:\\alpha", 1, Step::kUp, "..\\", true, "d:\\", "d:\\", 1, "d:\\"},
      {"up to a bare drive fails", "d:\\alpha", 1, Step::kUp, "..\\", false, "d:\\", "d:\\alpha", 1, kShown},
      {"up one folder", "c:\\alpha\\beta", 1, Step::kUp, "..\\", true, "c:\\alpha", "c:\\alpha", 1, "c:\\alpha"},
      {"up one folder fails", "c:\\alpha\\beta", 1, Step::kUp, "..\\", false, "c:\\alpha", "c:\\alpha\\beta", 1,
       kShown},
      {"up leaves the flag alone", "c:\\data", 0, Step::kUp, "..\\", true, "c:\\", "c:\\", 0, "c:\\"},
      {"drive change", "c:\\alpha", 1, Step::kDrive, "d:", true, "d:\\", "d:", 1, "d:\\"},
      {"drive change leaves the flag alone", "c:\\data", 0, Step::kDrive, "d:", true, "d:\\", "d:", 0, "d:\\"},
      {"drive change fails", "c:\\alpha", 1, Step::kDrive, "x:", false, "x:\\", "c:\\alpha", 1, kShown},
  };
  for (const Row& row : rows) {
    Rig rig;
    rig.currentDir = row.current;
    rig.leftDefaultDir = row.flag;
    rig.targetDir = kShown;
    rig.listing.listAll = row.readable;
    if (row.step == Step::kDrive) {
      rig.PickDrive(row.arg);
    } else {
      rig.DoubleClick(row.arg);
    }
    const bool listedOk = row.listed != nullptr && row.readable;
    EXPECT_EQ(rig.listing.listed, row.listed != nullptr ? Paths{row.listed} : Paths{}) << row.what;
    EXPECT_EQ(rig.currentDir.str(), row.currentAfter) << row.what;
    EXPECT_EQ(rig.leftDefaultDir, row.flagAfter) << row.what;
    EXPECT_EQ(rig.targetDir.str(), row.targetAfter) << row.what;
    const std::vector<std::string> messages = row.listed != nullptr && !row.readable
                                                  ? std::vector<std::string>{Failure(row.listed)}
                                                  : std::vector<std::string>{};
    EXPECT_EQ(rig.screen.messages, messages) << row.what;
    // The field shows the target as the last refresh wrote it; no refresh
    // without a successful listing.
    if (listedOk) {
      ASSERT_FALSE(rig.screen.shownTargets.empty()) << row.what;
      EXPECT_EQ(rig.screen.shownTargets.back(), row.targetAfter) << row.what;
    } else {
      EXPECT_TRUE(rig.screen.shownTargets.empty()) << row.what;
    }
  }
}

TEST(Browsing, TheFieldFollowsEveryStepDownAndUp) {
  Rig rig;
  rig.DoubleClick("alpha\\");
  rig.DoubleClick("beta\\");
  rig.DoubleClick("..\\");
  rig.DoubleClick("..\\");
  EXPECT_EQ(rig.listing.listed, (Paths{"c:\\alpha", "c:\\alpha\\beta", "c:\\alpha", "c:\\"}));
  EXPECT_EQ(rig.screen.shownTargets, rig.listing.listed);
  EXPECT_EQ(rig.currentDir.str(), "c:\\");
  EXPECT_EQ(rig.targetDir.str(), "c:\\");
  EXPECT_TRUE(rig.screen.messages.empty());
}

TEST(Browsing, FailedFirstStepLeavesTheProposalButNotTheFlag) {
  Rig rig;
  rig.listing.listAll = false;
  rig.listing.listable = {"c:\\data\\alpha"};
  rig.DoubleClick("alpha\\");
  EXPECT_EQ(rig.screen.messages, (std::vector<std::string>{Failure("c:\\alpha")}));
  EXPECT_EQ(rig.currentDir.str(), "c:\\data");
  EXPECT_EQ(rig.targetDir.str(), "c:\\data");
  EXPECT_EQ(rig.leftDefaultDir, 1);

  // The second try joins onto the proposal itself.
  rig.DoubleClick("alpha\\");
  EXPECT_EQ(rig.listing.listed, (Paths{"c:\\alpha", "c:\\data\\alpha"}));
  EXPECT_EQ(rig.currentDir.str(), "c:\\data\\alpha");
  EXPECT_EQ(rig.targetDir.str(), "c:\\data\\alpha");
  EXPECT_EQ(rig.screen.messages.size(), 1u);
}

TEST(Browsing, AfterADriveChangeUpDoesNothingUntilAFolderIsEntered) {
  Rig rig;
  rig.PickDrive("d:");
  ASSERT_EQ(rig.currentDir.str(), "d:");
  ASSERT_EQ(rig.targetDir.str(), "d:\\");
  rig.DoubleClick("..\\");
  EXPECT_EQ(rig.listing.listed, Paths{"d:\\"});
  EXPECT_EQ(rig.currentDir.str(), "d:");
  EXPECT_EQ(rig.targetDir.str(), "d:\\");
  EXPECT_TRUE(rig.screen.messages.empty());

  rig.DoubleClick("alpha\\");
  rig.DoubleClick("..\\");
  EXPECT_EQ(rig.listing.listed, (Paths{"d:\\", "d:\\alpha", "d:\\"}));
  EXPECT_EQ(rig.currentDir.str(), "d:\\");
  EXPECT_EQ(rig.targetDir.str(), "d:\\");
}

TEST(Browsing, ReachingTheProposalBeforeTheFirstStepRestartsFromDriveC) {
  Rig rig;
  rig.listing.selectedDrive = "c:";
  rig.browsing.OnDriveChange();
  rig.DoubleClick("data\\");
  ASSERT_EQ(rig.currentDir.str(), "c:\\data");
  ASSERT_EQ(rig.leftDefaultDir, 0);
  rig.DoubleClick("alpha\\");
  EXPECT_EQ(rig.listing.listed, (Paths{"c:\\", "c:\\data", "c:\\alpha"}));
  EXPECT_EQ(rig.currentDir.str(), "c:\\alpha");
  EXPECT_EQ(rig.leftDefaultDir, 1);
}

TEST(Browsing, APathLongerThanTheListingBufferIsAFailedListing) {
  Rig rig;
  const std::string base = "c:\\" + std::string(250, 'a');  // 253 characters
  rig.currentDir = base.c_str();
  rig.targetDir = base.c_str();
  rig.leftDefaultDir = 1;

  const std::string tooLong = base + "\\bcdefg";  // 260 characters
  rig.DoubleClick("bcdefg\\");
  EXPECT_TRUE(rig.listing.listed.empty());  // never handed to the service
  EXPECT_STREQ(rig.listPath, "c:\\");       // nor copied into its buffer
  EXPECT_EQ(rig.screen.messages, std::vector<std::string>{Failure(tooLong)});
  EXPECT_EQ(rig.currentDir.str(), base);
  EXPECT_EQ(rig.targetDir.str(), base);

  const std::string longest = base + "\\bcdef";  // 259 characters
  rig.DoubleClick("bcdef\\");
  EXPECT_EQ(rig.listing.listed, Paths{longest});
  EXPECT_EQ(std::string(rig.listPath), longest);
  EXPECT_EQ(rig.currentDir.str(), longest);
  EXPECT_EQ(rig.targetDir.str(), longest);
  EXPECT_EQ(rig.screen.messages.size(), 1u);
}

TEST(Browsing, DoubleClickWithoutASelectionDoesNothing) {
  Rig rig;
  rig.listing.selectedFolder.reset();
  rig.browsing.OnFolderDoubleClick();
  EXPECT_TRUE(rig.listing.listed.empty());
  EXPECT_TRUE(rig.screen.messages.empty());
  EXPECT_TRUE(rig.screen.shownTargets.empty());
  EXPECT_EQ(rig.currentDir.str(), "c:\\data");
  EXPECT_EQ(rig.leftDefaultDir, 0);  // still the untouched proposal
}

// A folder given on the command line (/DIR=) is proposed in place of
// c:\\data, and browsing leaves it as it leaves c:\\data.
TEST(Browsing, AnotherProposalIsLeftAsTheDefaultOneIs) {
  Rig rig("d:\\my maps");
  rig.DoubleClick("alpha\\");  // the list shows the root of drive c:
  EXPECT_EQ(rig.listing.listed, Paths{"c:\\alpha"});
  EXPECT_EQ(rig.currentDir.str(), "c:\\alpha");
  EXPECT_EQ(rig.leftDefaultDir, 1);

  Rig cData("d:\\my maps");
  cData.currentDir = "c:\\data";  // no longer the proposal: nothing special
  cData.DoubleClick("alpha\\");
  EXPECT_EQ(cData.listing.listed, Paths{"c:\\data\\alpha"});

  Rig up("d:\\my maps\\sub");
  up.DoubleClick("..\\");
  EXPECT_EQ(up.listing.listed, Paths{"d:\\my maps"});
  EXPECT_EQ(up.targetDir.str(), "d:\\my maps");
}

// Code page 932: 0x95 0x5C is one character whose second byte equals '\\'.
class BrowsingDoubleByte : public testing::Test {
 protected:
  void SetUp() override { dbcs::SetLeadByteRule(&dbcs::IsCodePage932LeadByte); }
  void TearDown() override { dbcs::SetLeadByteRule(nullptr); }
};

TEST_F(BrowsingDoubleByte, FolderNameEndingInATrailByteLikeABackslash) {
  const std::string folder = "c:\\\x95\x5C";
  Rig rig;
  rig.DoubleClick("\x95\x5C\\");
  EXPECT_EQ(rig.currentDir.str(), folder);
  rig.DoubleClick("sub\\");
  EXPECT_EQ(rig.currentDir.str(), folder + "\\sub");
  rig.DoubleClick("..\\");
  EXPECT_EQ(rig.currentDir.str(), folder);
  rig.DoubleClick("..\\");
  EXPECT_EQ(rig.currentDir.str(), "c:\\");
  EXPECT_EQ(rig.listing.listed, (Paths{folder, folder + "\\sub", folder, "c:\\"}));
  EXPECT_EQ(rig.screen.shownTargets, rig.listing.listed);
  EXPECT_TRUE(rig.screen.messages.empty());
}

}  // namespace
