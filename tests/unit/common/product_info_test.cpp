// Loading the product information and the calibration mode from the
// product key.
#include <gtest/gtest.h>

#include <string>

#include "common/branding/product_info.h"
#include "tests/fakes/fake_registry.h"

namespace kv {
namespace {

using Call = FakeRegistry::Call;

const char* const kKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";

void StoreProduct(FakeRegistry& registry) {
    registry.SetString(kHkeyLocalMachine, kKey, "VenderName", "Halvane");
    registry.SetString(kHkeyLocalMachine, kKey, "VenderStyle", "13200912");
    registry.SetString(kHkeyLocalMachine, kKey, "InstallPath", "C:\\Program Files\\TouchScreen");
    registry.SetString(kHkeyLocalMachine, kKey, "WindowsPath", "C:\\WINDOWS");
    registry.SetString(kHkeyLocalMachine, kKey, "SystemPath", "C:\\WINDOWS\\SYSTEM");
    registry.SetString(kHkeyLocalMachine, kKey, "HardwareID", "*PNP0F13");
}

TEST(ProductInfo, LoadsTheSixValuesFromTheProductKey) {
    FakeRegistry registry;
    StoreProduct(registry);
    ProductInfo product;
    ASSERT_TRUE(product.LoadProductInformation(registry));
    EXPECT_EQ(product.Root, kHkeyLocalMachine);
    EXPECT_EQ(product.KeyPath, "SOFTWARE\\Halvane\\TouchScreen");
    EXPECT_EQ(product.Subkey, "KV-PS2");
    EXPECT_EQ(product.VenderName, "Halvane");
    EXPECT_EQ(product.VenderStyle, "13200912");
    EXPECT_EQ(product.InstallPath, "C:\\Program Files\\TouchScreen");
    EXPECT_EQ(product.WindowsPath, "C:\\WINDOWS");
    EXPECT_EQ(product.SystemPath, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(product.HardwareID, "*PNP0F13");
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(ProductInfo, OneBadValueFailsTheLoadButEveryValueIsStillRead) {
    for (const char* bad : {"VenderName", "InstallPath", "HardwareID"}) {
        FakeRegistry registry;
        StoreProduct(registry);
        registry.SetDword(kHkeyLocalMachine, kKey, bad, 1);  // a number is not text
        ProductInfo product;
        EXPECT_FALSE(product.LoadProductInformation(registry)) << bad;
        EXPECT_EQ(registry.CallCount(Call::QueryValue), 6 * 2 - 1) << bad;
        EXPECT_EQ(product.HardwareID, std::string(bad) == "HardwareID" ? "" : "*PNP0F13");
        EXPECT_EQ(product.SystemPath, "C:\\WINDOWS\\SYSTEM") << bad;
        EXPECT_EQ(registry.OpenHandleCount(), 0u) << bad;
    }
}

TEST(ProductInfo, AMissingKeyFailsAndIsLeftBehindEmpty) {
    FakeRegistry registry;
    ProductInfo product;
    EXPECT_FALSE(product.LoadProductInformation(registry));
    EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, kKey));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(ProductInfo, AKeyThatCannotBeOpenedReadsNothing) {
    FakeRegistry registry;
    StoreProduct(registry);
    registry.FailNext(Call::CreateKey, FakeRegistry::kErrorAccessDenied);
    ProductInfo product;
    EXPECT_FALSE(product.LoadProductInformation(registry));
    EXPECT_EQ(registry.CallCount(Call::QueryValue), 0);
    EXPECT_EQ(product.VenderName, "");
}

TEST(ProductInfo, ASelectionWithALeadingBackslashIsTrimmedOnFirstUse) {
    FakeRegistry registry;
    StoreProduct(registry);
    ProductInfo product;
    product.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "\\KV-PS2");
    ASSERT_TRUE(product.LoadProductInfo(registry));
    EXPECT_EQ(product.Subkey, "KV-PS2");
    EXPECT_EQ(product.VenderName, "Halvane");
}

TEST(CalibrationMode, RoundTripsThroughTheProductKey) {
    FakeRegistry registry;
    ProductInfo product;
    product.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "KV-PS2");
    product.CalibrationMode = 1;
    ASSERT_TRUE(product.WriteCalibrationMode(registry));
    const auto stored = registry.GetValue(kHkeyLocalMachine, kKey, "CalibrationMode");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, kRegDword);
    EXPECT_EQ(stored->data.size(), 4u);

    ProductInfo reader;
    reader.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "KV-PS2");
    EXPECT_TRUE(reader.ReadCalibrationMode(registry));
    EXPECT_EQ(reader.CalibrationMode, 1);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(CalibrationMode, AMissingOrTextValueLeavesTheModeAsItWas) {
    FakeRegistry registry;
    ProductInfo product;
    product.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "KV-PS2");
    EXPECT_FALSE(product.ReadCalibrationMode(registry));
    EXPECT_EQ(product.CalibrationMode, 0);
    registry.SetString(kHkeyLocalMachine, kKey, "CalibrationMode", "1");
    EXPECT_FALSE(product.ReadCalibrationMode(registry));
    EXPECT_EQ(product.CalibrationMode, 0);
    // An out-of-range number is read as it is: the main window corrects it.
    registry.SetDword(kHkeyLocalMachine, kKey, "CalibrationMode", 5);
    EXPECT_TRUE(product.ReadCalibrationMode(registry));
    EXPECT_EQ(product.CalibrationMode, 5);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(CalibrationMode, AFailedWriteOrCloseIsReported) {
    FakeRegistry registry;
    ProductInfo product;
    product.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "KV-PS2");
    registry.FailNext(Call::SetValue, FakeRegistry::kErrorAccessDenied);
    EXPECT_FALSE(product.WriteCalibrationMode(registry));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    registry.FailNext(Call::CloseKey, FakeRegistry::kErrorInvalidHandle);
    EXPECT_FALSE(product.WriteCalibrationMode(registry));
    registry.FailNext(Call::CreateKey, FakeRegistry::kErrorAccessDenied);
    EXPECT_FALSE(product.WriteCalibrationMode(registry));
    EXPECT_EQ(registry.CallCount(Call::SetValue), 2);
}

}  // namespace
}  // namespace kv
