// The print command's device description and the JSON of a plan.

#include "cli/print_commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessaly {
namespace {

TEST(PrintDevice, TheJsonDescriptionAndWhatIsRefused) {
    TPrintDevice d;
    std::string error;
    ASSERT_TRUE(ParseDeviceJson(R"({"PaperCodes": [1, 9], "CustomSizes": false,
        "Margins": {"Left": 4, "Top": 5, "Bottom": 0}, "LandscapeAngle": 270})",
                                d, error))
        << error;
    EXPECT_EQ(d.PaperCodes, (std::vector<int>{1, 9}));
    EXPECT_TRUE(d.Supports(9));
    EXPECT_FALSE(d.Supports(27));
    EXPECT_FALSE(d.Supports(256));
    EXPECT_EQ(d.LeftMargin, 4);
    EXPECT_EQ(d.TopMargin, 5);
    EXPECT_EQ(d.LandscapeAngle, 270);
    const TPrintDevice before = d;
    for (const char* bad : {"", "[]", R"({"PaperCodes": ["A4"]})", R"({"LandscapeAngle": 45})",
                            R"({"Margins": {"Left": -1}})", R"({"Margins": {"Top": 1e9}})",
                            R"({"CustomSizes": "yes"})"}) {
        EXPECT_FALSE(ParseDeviceJson(bad, d, error)) << bad;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(d.PaperCodes, before.PaperCodes) << bad;
    }
    EXPECT_TRUE(TPrintDevice::Pdf().Supports(256));
}

TEST(PrintPlanJson, PagesAndItemsInUtf8) {
    TPrintPlan plan;
    plan.Title = "Caf\xE9";
    plan.Copies = 2;
    TPlanPage page;
    page.Width = 220;
    page.Height = 110;
    page.Landscape = true;
    page.PaperCode = 27;
    TPlanItem text;
    text.Left = 1.5;
    text.Top = 2;
    text.Width = 30;
    text.Height = 5;
    text.Text = "M\xFCller";
    text.Align = 2;
    text.Font.Size = 11;
    text.Font.Style = 1;
    page.Items.push_back(text);
    TPlanItem line;
    line.Kind = TPlanItemKind::Line;
    line.Width = 10;
    line.Pen.Width = 0.25;
    page.Items.push_back(line);
    plan.Pages.push_back(page);
    const auto j = nlohmann::json::parse(PlanJson(plan));
    EXPECT_EQ(j["Title"], "Caf\xC3\xA9");
    EXPECT_EQ(j["Copies"], 2);
    const auto& p = j["Pages"][0];
    EXPECT_EQ(p["Width"], 220);
    EXPECT_EQ(p["Landscape"], true);
    EXPECT_EQ(p["PaperCode"], 27);
    EXPECT_EQ(p["Items"][0]["Kind"], "Text");
    EXPECT_EQ(p["Items"][0]["Text"], "M\xC3\xBCller");
    EXPECT_EQ(p["Items"][0]["Align"], "Centre");
    EXPECT_EQ(p["Items"][0]["Font"]["Name"], "Arial");
    EXPECT_EQ(p["Items"][0]["Font"]["Size"], 11);
    EXPECT_EQ(p["Items"][0]["Font"]["Style"], 1);
    EXPECT_EQ(p["Items"][1]["Kind"], "Line");
    EXPECT_EQ(p["Items"][1]["Pen"]["Width"], 0.25);
    EXPECT_FALSE(p["Items"][1].contains("Text"));
}

} // namespace
} // namespace tessaly
