#include "app/console/TarnConsoleOwner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

// What the owner printed, read back from a temporary file.
std::string printed(FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[512];
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file)) text.append(buffer, count);
  return text;
}

struct HostileName {
  const char* name;
  std::string clientName;
};

void PrintTo(const HostileName& hostile, std::ostream* out) { *out << hostile.name; }

class TarnConsoleOwnerText : public testing::TestWithParam<HostileName> {};

// Names come from unpaired peers; none of their control bytes may reach the terminal.
TEST_P(TarnConsoleOwnerText, PrintsNoControlCharactersFromTheNetwork) {
  const std::unique_ptr<FILE, FileCloser> out(std::tmpfile());
  ASSERT_TRUE(out);
  TarnConsoleOwner owner(out.get());
  const TarnHostCallbacks callbacks = owner.callbacks();

  TarnPairingApprovalRequest request;
  request.id = TarnUUID::random();
  request.clientID = TarnUUID::random();
  request.clientName = GetParam().clientName;
  request.clientModel = "iPhone\x1b[8m";
  callbacks.onPairingApprovalRequested(request);
  callbacks.onEvent(QStringLiteral("Pairing request"),
                    QString::fromStdString(GetParam().clientName) + QStringLiteral(" sent a pairing request."),
                    QStringLiteral("iphone"));

  const std::string text = printed(out.get());
  EXPECT_NE(text.find("Phone"), std::string::npos);
  for (const std::string forbidden : {"\x1b", "\x07", "\r", "\xc2\x9b", "\xe2\x80\xae", "\xe2\x81\xa6"}) {
    EXPECT_EQ(text.find(forbidden), std::string::npos) << testing::PrintToString(text);
  }
  // Only the line ends the owner writes itself remain.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TarnConsoleOwnerText,
    testing::Values(HostileName{"title_escape", "\x1b]0;owned\x07Phone"},
                    HostileName{"cursor_and_erase", "Phone\x1b[2K\rApproved"},
                    HostileName{"eight_bit_csi", "Phone\xc2\x9b" "2J"},
                    HostileName{"line_break", "Phone\nPairing code: 000 000"},
                    HostileName{"bidi_override", "Phone\xe2\x80\xae" "enohp"},
                    HostileName{"bidi_isolate", "\xe2\x81\xa6Phone"}),
    [](const testing::TestParamInfo<HostileName>& info) { return std::string(info.param.name); });

TEST(TarnConsoleOwner, KeepsOrdinaryNamesAsTheyAre) {
  const std::unique_ptr<FILE, FileCloser> out(std::tmpfile());
  ASSERT_TRUE(out);
  TarnConsoleOwner owner(out.get());
  owner.callbacks().onEvent(QStringLiteral("Pairing request"),
                            QStringLiteral("Anna\u2019s iPhone \U0001F4F1 sent a pairing request."),
                            QStringLiteral("iphone"));
  EXPECT_EQ(printed(out.get()), "Pairing request: Anna\xe2\x80\x99s iPhone \xf0\x9f\x93\xb1 sent a pairing request.\n");
}

}  // namespace
