#include <gtest/gtest.h>

#include <string>

#include "model/errors.h"
#include "model/settings_table.h"

namespace orbista {
namespace {

TEST(Messages, InvisibleBytesAreEscapedAndLongTextIsCutAtACharacter) {
    EXPECT_EQ(PrintableText(std::string("a\0b\x1F\x7F", 5)), "a\\x00b\\x1F\\x7F");
    EXPECT_EQ(PrintableText("\xEF\xBB\xBF"
                            "5"),
              "\\uFEFF5");
    EXPECT_EQ(PrintableText("\xC2\x85"), "\\u0085");
    EXPECT_EQ(PrintableText("\xFF\xC3(\xED\xA0\x80"), "\\xFF\\xC3(\\xED\\xA0\\x80");
    EXPECT_EQ(PrintableText("ставка № 5 ✓"), "ставка № 5 ✓");

    EXPECT_EQ(ShownText("ббббб"), "ббббб");
    const std::string longText = std::string(47, 'a') + "б";  // 49 bytes: "б" does not fit
    EXPECT_EQ(ShownText(longText), std::string(47, 'a') + "…");
    EXPECT_EQ(ShownText("12\xD0", true), "12…");  // a reader's cut left half of a letter
}

TEST(Messages, FileAndFieldMessagesReadAsOneSentenceEach) {
    EXPECT_EQ(FileError::NotAnInteger("/home/p/save8.dat", 3, "abc").what(),
              std::string("Файл \"/home/p/save8.dat\", строка 3: «abc» не является целым числом."));
    EXPECT_EQ(
        FileError::NotAnInteger("s.txt", 1, std::string(4, '\0'), true).what(),
        std::string("Файл \"s.txt\", строка 1: «\\x00\\x00\\x00\\x00…» не является целым числом."));
    EXPECT_EQ(FileError::TooLarge("/dev/zero", 64 << 10).what(),
              std::string(
                  "Не удалось прочитать файл \"/dev/zero\": файл слишком большой (больше 64 КБ)."));
    EXPECT_EQ(FileError::TooLarge("a", 16 << 20).what(),
              std::string("Не удалось прочитать файл \"a\": файл слишком большой (больше 16 МБ)."));
    EXPECT_EQ(FileError::CannotOpen("x\ny", "доступ запрещён").what(),
              std::string("Не удалось открыть файл \"x\\x0Ay\": доступ запрещён."));

    const SettingInfo& waiting = InfoOf(Setting::WaitingSpins);
    const ConversionError field(std::string(waiting.control), std::string(waiting.caption), "1\t2");
    EXPECT_EQ(
        field.what(),
        std::string(
            "Значение \"1\\x092\" в поле \"Спинов без попаданий\" не является целым числом."));
    EXPECT_EQ(field.Caption(), "Спинов без попаданий:");
    EXPECT_EQ(field.Text(), "1\t2");
}

}  // namespace
}  // namespace orbista
