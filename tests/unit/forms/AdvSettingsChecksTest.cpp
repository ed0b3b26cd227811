// The one table of the settings dialog's check boxes and radio buttons: what
// a new row could get wrong before any window shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include "forms/uAdvSettingsChecks.h"

using namespace forms;

namespace {

std::string What(const TCheckControl& c) { return c.Name; }

TEST(AdvSettingsChecks, EveryControlHasItsOwnIdNameAndCell) {
    std::set<int> ids;
    std::set<std::string> names;
    std::set<std::tuple<TCheckGroup, int, int>> cells;
    for (const TCheckControl& c : CheckControls()) {
        EXPECT_TRUE(ids.insert(c.Id).second) << What(c) << ": identifier " << c.Id << " taken";
        EXPECT_TRUE(names.insert(c.Name).second) << What(c) << ": name taken";
        EXPECT_TRUE(cells.insert({c.Group, c.Column, c.Row}).second) << What(c) << ": cell taken";
        EXPECT_TRUE(c.Column >= 0 && c.Row >= 0) << What(c);
        EXPECT_NE(std::u16string(c.Caption), u"") << What(c);
    }
}

// A field is shown by one check box or by one pair of radio buttons, the
// second right after the first in the same group.
TEST(AdvSettingsChecks, RadioButtonsComeInPairsOverOneField) {
    const std::span<const TCheckControl> checks = CheckControls();
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const TCheckControl& c = checks[i];
        if (c.Kind == TCheckKind::Check) continue;
        const bool first = c.Kind == TCheckKind::RadioFirst;
        ASSERT_TRUE(first ? i + 1 < checks.size() : i > 0) << What(c) << ": no partner";
        const TCheckControl& partner = checks[first ? i + 1 : i - 1];
        EXPECT_EQ(partner.Kind, first ? TCheckKind::RadioSecond : TCheckKind::RadioFirst) << What(c);
        EXPECT_EQ(partner.Field, c.Field) << What(c);
        EXPECT_EQ(partner.Group, c.Group) << What(c);
    }
    for (const TCheckControl& c : checks) {
        const auto uses = std::count_if(checks.begin(), checks.end(), [&](const TCheckControl& other) {
            return other.Field == c.Field;
        });
        EXPECT_EQ(uses, c.Kind == TCheckKind::Check ? 1 : 2) << What(c) << ": field shown elsewhere too";
    }
}

// What a view copies into its controls and back leaves the state as it was,
// and the two radio buttons of a pair always show opposite states.
TEST(AdvSettingsChecks, ControlsShowTheirFieldAndGiveItBack) {
    for (const bool value : {false, true}) {
        TAdvSettingsState state;
        for (const TCheckControl& c : CheckControls()) state.*c.Field = value;
        TAdvSettingsState copied;
        for (const TCheckControl& c : CheckControls()) c.Store(copied, c.Shown(state));
        for (const TCheckControl& c : CheckControls()) {
            EXPECT_EQ(copied.*c.Field, value) << What(c);
            EXPECT_EQ(c.Shown(state), c.Kind == TCheckKind::RadioFirst ? !value : value) << What(c);
        }
    }
}

}  // namespace
