#include "app/Presentation.h"
#include "app/Startup.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace flk;

namespace {

struct ScriptedUi : StartupUi {
    bool agree = true;
    int agreementsAsked = 0;
    std::vector<std::string> errors;
    std::string title, text;
    void ShowError(const std::string& m) override { errors.push_back(m); }
    bool AskAgreement(const std::string& t, const std::string& x) override {
        ++agreementsAsked;
        title = t;
        text = x;
        return agree;
    }
};

}  // namespace

TEST(Startup, FirstRunWritesDefaultsOnceAndKeepsUserChanges) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    s.Set(keys::UpdateFirstTime, 1);
    ScriptedUi ui;
    StartupResult r = RunStartupSteps(s, ui, true);
    EXPECT_EQ(r.outcome, StartupOutcome::Proceed);
    EXPECT_TRUE(r.firstRun);
    EXPECT_EQ(s.Get(keys::UpdateFirstTime), 0);
    EXPECT_EQ(s.Get(keys::CrawlerEnodger), 1);
    EXPECT_EQ(s.Get(keys::CrawlerMaxPages), "2000");
    EXPECT_EQ(ui.agreementsAsked, 1);
    EXPECT_EQ(ui.text, kBuiltInAgreement);

    s.Set(keys::CrawlerMaxPages, std::string("50"));
    s.Set(keys::MediaImages, std::string("png;"));
    const std::string before = dir.Read("flk.ini");
    r = RunStartupSteps(s, ui, true);
    EXPECT_FALSE(r.firstRun);
    EXPECT_EQ(ui.agreementsAsked, 1);
    EXPECT_EQ(dir.Read("flk.ini"), before);
}

TEST(Startup, FailuresEndStartUp) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    ScriptedUi ui;
    EXPECT_EQ(RunStartupSteps(s, ui, false).outcome, StartupOutcome::InternetFailed);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Windows sockets initialization failed.");
    EXPECT_FALSE(dir.Read("flk.ini").size());  // nothing written before the failure

    ui.agree = false;
    EXPECT_EQ(RunStartupSteps(s, ui, true).outcome, StartupOutcome::AgreementDeclined);
    EXPECT_EQ(s.Get(keys::CrawlerEnodger), 0);
    // Declining still leaves the first-run defaults written, and asks again next time.
    EXPECT_EQ(RunStartupSteps(s, ui, true).outcome, StartupOutcome::AgreementDeclined);
    EXPECT_EQ(ui.agreementsAsked, 2);
}

TEST(Startup, AgreementTextFallsBackWhenLicenseIsEmpty) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), dir.Path());
    dir.Write("license.txt", "");
    EXPECT_EQ(AgreementText(s), kBuiltInAgreement);
    dir.Write("license.txt", "terms\r\n");
    EXPECT_EQ(AgreementText(s), "terms\r\n");
    s.Set(keys::ProgramVersion, std::string("Ver. 2.0"));
    EXPECT_EQ(AgreementTitle(s), "Findlark   Ver. 2.0");
}

TEST(Startup, PresentationTargetAndOffer) {
    test::TempDir dir;
    Settings s(dir.File("flk.ini"), "/opt/flk");
    EXPECT_EQ(PresentationTarget(s), "/opt/flk/presentation/start.html");
    s.Set(keys::PresentationUrl, std::string("http://tour.example/"));
    EXPECT_EQ(PresentationTarget(s), "http://tour.example/");
    EXPECT_TRUE(ShouldOfferPresentation(s, false));
    RememberPresentationChoice(s, false);
    EXPECT_TRUE(ShouldOfferPresentation(s, false));
    RememberPresentationChoice(s, true);
    EXPECT_FALSE(ShouldOfferPresentation(s, false));
    EXPECT_TRUE(ShouldOfferPresentation(s, true));
}
