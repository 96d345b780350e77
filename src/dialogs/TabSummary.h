#pragma once
// A settings page that shows its current values as text: the appearance pages
// until they can be edited. The exchange carries their settings through unchanged.
#include <functional>
#include <string>

#include "dialogs/Unit2.h"

class TSummaryPage : public TSettingsTabPage {
public:
    using TDescribe = std::function<std::string(const TSettingsDialogData& data)>;
    explicit TSummaryPage(TDescribe describe) : Describe(std::move(describe)) {}

    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData&) const override {}
    void Layout(int width, int height) override;

private:
    TDescribe Describe;
};

// The texts of the pages.
std::string DescribeFontPage(const TSettingsDialogData& data);
std::string DescribeBackgroundPage(const TSettingsDialogData& data);
std::string DescribePositionPage(const TSettingsDialogData& data);
