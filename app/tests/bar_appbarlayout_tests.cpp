// The rectangle the bar asks for, by edge and by where the taskbar is.

#include "bar/appbarlayout.h"

#include <gtest/gtest.h>

namespace pindrel {
namespace {

using platform::AppBarRect;

struct ProposalCase
{
    const char *name;
    AppBarRect taskbar;
    uint32_t edge;
    AppBarRect expected;
};

constexpr AppBarRect kScreen{0, 0, 1280, 800};
constexpr int kBarWidth = 1280;
constexpr int kBarHeight = 26;

const ProposalCase kCases[] = {
    {"top_with_taskbar_at_bottom", {0, 770, 1280, 800}, platform::ABE_TOP, {0, 0, 1280, 26}},
    {"bottom_with_taskbar_at_bottom",
     {0, 770, 1280, 800},
     platform::ABE_BOTTOM,
     {0, 744, 1280, 770}},
    {"top_with_taskbar_at_left", {0, 0, 60, 800}, platform::ABE_TOP, {60, 0, 1280, 26}},
    {"bottom_with_taskbar_at_right",
     {1220, 0, 1280, 800},
     platform::ABE_BOTTOM,
     {0, 774, 1220, 800}},
    // Settled here: with the taskbar on the same edge the bar keeps its height beside it.
    {"top_with_taskbar_at_top", {0, 0, 1280, 30}, platform::ABE_TOP, {0, 30, 1280, 56}},
    {"bottom_with_taskbar_at_top", {0, 0, 1280, 30}, platform::ABE_BOTTOM, {0, 774, 1280, 800}},
    // No taskbar: the record's empty rectangle counts as one above the screen.
    {"top_without_taskbar", {0, 0, 0, 0}, platform::ABE_TOP, {0, 0, 1280, 26}},
    {"bottom_without_taskbar", {0, 0, 0, 0}, platform::ABE_BOTTOM, {0, 774, 1280, 800}},
    {"unknown_edge_keeps_usable_area", {0, 770, 1280, 800}, 7, {0, 0, 1280, 770}},
};

class Proposal : public ::testing::TestWithParam<ProposalCase>
{
};

TEST_P(Proposal, GivesTheBand)
{
    const ProposalCase &row = GetParam();
    const AppBarRect rect = appBarProposal(kScreen, row.taskbar, row.edge, kBarWidth, kBarHeight);
    EXPECT_EQ(rect, row.expected) << rect.left << "," << rect.top << "," << rect.right << ","
                                  << rect.bottom;
}

INSTANTIATE_TEST_SUITE_P(AppBar, Proposal, ::testing::ValuesIn(kCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace pindrel
