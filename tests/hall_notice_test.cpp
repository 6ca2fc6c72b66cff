// What the player reads of a hall's answer, and where a hall is set.
#include <gtest/gtest.h>

#include "shell/hall_sender.h"
#include "shell/settings.h"

TEST(HallNotice, NamesThePlaceOrTheReasonCutToFit) {
  struct Case {
    HallAnswer answer;
    const char* notice;
  } cases[] = {
      {{201, R"({"id":4,"potions":12,"reached":"1-3","ending":false,"place":1})", ""}, "HALL OF FAME: 1ST PLACE"},
      {{200, R"({"place": 2})", ""}, "HALL OF FAME: 2ND PLACE"},
      {{201, R"({"place":3})", ""}, "HALL OF FAME: 3RD PLACE"},
      {{201, R"({"place":12})", ""}, "HALL OF FAME: 12TH PLACE"},
      {{201, R"({"place":113})", ""}, "HALL OF FAME: 113TH PLACE"},
      {{201, R"({"place":22})", ""}, "HALL OF FAME: 22ND PLACE"},
      {{201, R"({"id":4})", ""}, "NOT SENT: NO PLACE IN THE ANSWER"},
      {{422, R"({"error":"a \"practice\" run","frame":0})", ""}, "NOT SENT: A  PRACTICE  RUN"},
      {{422, R"({"error":"made by version 0.0.9 of the rules, this hall ranks 0.1.0"})", ""},
       "NOT SENT: MADE BY VERSION 0.0.9 OF..."},
      {{429, "", ""}, "NOT SENT: THE HALL IS BUSY, TRY LATER"},
      {{404, "<html>", ""}, "NOT SENT: THE HALL ANSWERED 404"},
      {{0, "", "the hall cannot be reached"}, "NOT SENT: THE HALL CANNOT BE REACHED"},
  };
  for (const Case& c : cases) EXPECT_EQ(HallNotice(c.answer, 37), c.notice) << c.answer.body;
}

TEST(HallNotice, TheRequestCarriesTheFileExactly) {
  EXPECT_EQ(HallRequestBody("AB", "version 1\n\"q\"\\\t"), R"({"name":"AB","replay":"version 1\u000a\"q\"\\\u0009"})");
}

TEST(HallSetting, OnlyAnAddressOrNothingIsTaken) {
  std::vector<std::string> complaints;
  Settings set = ParseSettings("hall-of-fame=https://hall.example:8443\n", complaints);
  EXPECT_EQ(set.hallOfFame, "https://hall.example:8443");
  EXPECT_TRUE(complaints.empty());
  EXPECT_EQ(ParseSettings("hall-of-fame=hall.example\n", complaints).hallOfFame, "");
  EXPECT_EQ(complaints.size(), 1u);
  EXPECT_EQ(Settings{}.hallOfFame, "");
  EXPECT_EQ(ParseSettings(FormatSettings(set, ""), complaints), set);
}
