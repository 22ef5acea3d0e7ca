// A seeded random walk of user actions against the real windows, checked after
// every step against a small reference model of what the user must see.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "win32/text.h"
#include "ui_model.h"
#include "ui_support.h"

namespace zorvin::ui::test {
namespace {

class ModelTest : public UiTest, public testing::WithParamInterface<unsigned> {
 public:
  // Does the action on the real windows.
  void Do(const Action& a) {
    switch (a.kind) {
      case Kind::EffectsList:
        Menu(Settings().Handle(), kCmdEffectsList);
        break;
      case Kind::WorldspawnSettings:
        Menu(Effects().Handle(), kCmdWorldspawnSettings);
        break;
      case Kind::Exit:
        Menu(Effects().Handle(), kCmdExit);
        break;
      case Kind::About:
        Menu(Effects().Handle(), kCmdAbout);
        break;
      case Kind::Ok:
        if (a.arg == 0) {
          ClickButton(About().OkButton().Handle());
        } else {
          SetForegroundWindow(About().Handle());
          SetFocus(About().OkButton().Handle());
          Pump();
          PressKeys({static_cast<WORD>(a.arg == 1 ? VK_RETURN : VK_ESCAPE)});
          PumpUntil([&] { return !About().IsVisible(); }, 1000);
        }
        break;
      case Kind::CloseBox: {
        Window& target = a.arg == 0   ? static_cast<Window&>(Settings())
                         : a.arg == 1 ? static_cast<Window&>(Effects())
                                      : static_cast<Window&>(About());
        UiTest::CloseBox(target.Handle());
        break;
      }
      case Kind::DropDown:
        DropDown();
        SendMessageW(Settings().LevelCombo().Handle(), CB_SHOWDROPDOWN, FALSE, 0);
        Pump();
        break;
      case Kind::Pick:
        PickLevel(a.arg);
        break;
      case Kind::Type:
        SetComboText(kTyped[a.arg]);
        break;
      case Kind::LookUp:
        UiTest::LookUp();
        break;
      case Kind::Select:
        SelectCategory(a.arg);
        break;
      case Kind::Arrow: {
        SetForegroundWindow(Effects().Handle());
        SetFocus(Effects().CategoryList().Handle());
        Pump();
        const auto before = Effects().CategoryList().Selection();
        PressKeys({static_cast<WORD>(a.arg == 0 ? VK_DOWN : VK_UP)});
        PumpUntil([&] { return Effects().CategoryList().Selection() != before; }, 300);
        break;
      }
      case Kind::Edit:
        (a.arg == 0 ? Settings().BlockText() : Effects().ListingText()).SetText(L"typed by the user");
        Pump();
        break;
    }
  }

  // The differences between the program and the model, or "" when none.
  std::string Compare(const Model& m) {
    std::ostringstream out;
    const auto window = [&](const char* name, const Window* w, const Model::Window& e) {
      if ((w != nullptr) != e.slot) out << name << " slot; ";
      if (w == nullptr) return;
      if (w->IsLoaded() != e.loaded) out << name << " loaded; ";
      if (w->IsVisible() != e.visible) out << name << " visible; ";
    };
    window("Form1", TheShell().SettingsSlot(), m.form1);
    window("frmZorvinEfx", TheShell().EffectsSlot(), m.effects);
    window("frmAbout", TheShell().AboutSlot(), m.about);
    if (m.form1.loaded && Settings().IsLoaded()) {
      if (Settings().LevelCombo().Text() != m.comboText)
        out << "Combo1 text '" << ToUtf8(Settings().LevelCombo().Text()) << "'; ";
      if (Settings().LevelCombo().Count() != m.comboCount)
        out << "Combo1 count " << Settings().LevelCombo().Count() << "; ";
      if (Settings().BlockText().Text() != m.text1) out << "Form1.Text1; ";
      if (Settings().BlockStore().Caption() != m.label1) out << "Form1.Label1; ";
    }
    if (m.effects.loaded && Effects().IsLoaded()) {
      if (Effects().CategoryList().Selection().value_or(-1) != m.selection) {
        out << "List1 selection " << Effects().CategoryList().Selection().value_or(-1) << " not " << m.selection
            << "; ";
      }
      if (Effects().CategoryList().Count() != 66) out << "List1 count; ";
      if (Effects().ListingText().Text() != m.listing) out << "frmZorvinEfx.Text1; ";
    }
    if (ended_ + closed_ != 0) out << "ended with a window on screen; ";
    if (!errors_.empty()) out << "error reported: " << ToUtf8(errors_.front()) << "; ";
    return out.str();
  }

  // Runs actions from a fresh start; returns the step that diverged (or -1) and what differed.
  std::pair<int, std::string> Run(const std::vector<Action>& actions) {
    Restart();
    Model model;
    for (std::size_t i = 0; i < actions.size(); ++i) {
      if (!model.Possible(actions[i])) continue;
      Do(actions[i]);
      model.Apply(actions[i]);
      if (model.over) {
        if ((actions[i].kind == Kind::Exit ? ended_ : closed_) != 1)
          return {static_cast<int>(i), "did not end"};
        Restart();
        model = Model();
        continue;
      }
      std::string difference = Compare(model);
      if (!difference.empty()) return {static_cast<int>(i), difference};
    }
    return {-1, ""};
  }

  void Restart() {
    TearDown();
    ended_ = closed_ = 0;
    errors_.clear();
    SetUp();
    Start();
  }

  // The shortest list found by dropping actions one at a time while the divergence stays.
  std::vector<Action> Shrink(std::vector<Action> actions) {
    for (std::size_t i = actions.size(); i-- > 0;) {
      std::vector<Action> shorter;
      for (std::size_t j = 0; j < actions.size(); ++j) {
        if (j != i) shorter.push_back(actions[j]);
      }
      if (Run(shorter).first >= 0) actions = shorter;
    }
    return actions;
  }
};

std::vector<unsigned> Seeds() {
  // ZORVIN_MODEL_SEEDS="7 8 9" replays chosen seeds.
  std::vector<unsigned> seeds;
  if (const char* text = std::getenv("ZORVIN_MODEL_SEEDS")) {
    std::istringstream in(text);
    for (unsigned seed; in >> seed;) seeds.push_back(seed);
  }
  if (seeds.empty()) seeds = {20261207u, 1u, 4242u};
  return seeds;
}

// One test per seed, so that CTest runs the seeds side by side.
TEST_P(ModelTest, RandomUserSessionsMatchTheModel) {
  const unsigned seed = GetParam();
  if (ShortRun() && seed != Seeds().front()) GTEST_SKIP() << "under emulation the first seed alone runs";
  const int kSteps = ShortRun() ? 300 : 2000;
  std::mt19937 random(seed);
  std::vector<Action> actions;
  for (int i = 0; i < kSteps; ++i) actions.push_back(RandomAction(random));
  const auto [step, difference] = Run(actions);
  if (step < 0) {
    std::printf("seed %u: %d actions, program and model agree\n", seed, kSteps);
    return;
  }
  actions.resize(static_cast<std::size_t>(step) + 1);
  const std::vector<Action> shortest = Shrink(actions);
  std::string steps;
  for (const Action& a : shortest) steps += Describe(a) + " ";
  ADD_FAILURE() << "seed " << seed << " diverged at step " << step << ": " << difference
                << "\nshortest action list that reproduces it: " << steps;
}

INSTANTIATE_TEST_SUITE_P(Seed, ModelTest, testing::ValuesIn(Seeds()),
                         [](const testing::TestParamInfo<unsigned>& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace zorvin::ui::test
