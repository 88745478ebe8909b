// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/messages.h"

#include <gtest/gtest.h>

namespace kuvar::protocol {
namespace {

// The questions and messages as the default interface shows them, byte for byte.
TEST(Messages, DefaultTextsWithTheValuesAsTyped) {
    struct Case {
        std::string made;
        const char* expected;
    } cases[] = {
        {TMessage(kIdFindQuestion).Text(), "센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?"},
        {IdChangeQuestion("1", "12").Text(), "센서 ID를 1에서 12로 변경하시겠습니까?"},
        {BaudrateQuestion("57600").Text(), "센서 통신속도를 57600로 변경하시겠습니까?\r\n변경 후 "
                                           "프로그램의 통신속도를 센서와 같게 하세요."},
        {ScaleQuestion("").Text(), "센서 Full Scale를 로 변경하시겠습니까?"},
        {IntervalQuestion("100").Text(), "센서 출력 간격을 100로 변경하시겠습니까?"},
        {ModeQuestion("3").Text(), "센서 Mode를 3로 변경하시겠습니까?"},
        // A value that looks like a slot stays as typed, and bytes of the code page go through.
        {IdChangeQuestion("%2", "%1").Text(), "센서 ID를 %2에서 %1로 변경하시겠습니까?"},
        {IdChangeQuestion("\xBE\xC8", "2").Text(), "센서 ID를 \xBE\xC8에서 2로 변경하시겠습니까?"},
        {TMessage(kNotKuvarAc).Text(), "KUVAR-AC 제품이 아닙니다."},
        {TMessage("100%", {"x"}).Text(), "100%"},
        {TMessage("%3 of %1", {"a"}).Text(), "%3 of a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.made, c.expected);
}

} // namespace
} // namespace kuvar::protocol
