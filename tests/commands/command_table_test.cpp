#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kiv {
namespace {

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

struct ExpectedTable {
  TableKind kind;
  std::string listed;
  std::string unlisted;
};

const ExpectedTable kExpected[] = {
    {TableKind::Dialog, "BOTTOM DOWN LEFT RESET RIGHT TOP UP", ""},
    {TableKind::Edit,
     "BOTTOM BOUNDS CAPS CHANGE CHANGEFP CHARSET COLORMAP COLSCOPY COLSCUT COLSDELETE COLSINSERT "
     "COLSMOVE COLSPASTE COPY COPYL CREATE CURSORMOVE CUT DATA DATALINE DELETE DELWORD DOWN "
     "EXCLUDE EXPORT FIND FINDHK FLIP FUZZYDATE HEX HEXIN HIDE INSERTLINE LABELS LEFT LOCATE MATCH "
     "MAXRECLEN MERGEMSG NOTELINE NUMBER PASTE PRINT PROFILE RCHANGE RECOLOR RENUMBER REPLACE "
     "RESET RFIND RIGHT RULER SAVE SAVEAS SELECT SETEOR SHOWEOL SORT STOLOWER STOUPPER SXCLUDE "
     "TAGFIND TEMPLATE TOP UNDO UNNUMBER UP",
     "HELP SHOWRAM TABS"},
    {TableKind::FileList,
     "ALLLOWER ALLUPPER ANYWHERE ATTRIBUTES BOTTOM BOUNDS CONFIRM DOWN EXCLUDE EXTYPE FIND FOREACH "
     "IMACRO LEFT LISTTOFILE LOCATE MAKEDIR MAXRECLEN PARENT PRINT PROFILE REFRESH RENANYWHERE "
     "RENEXT RENPREFIX RENSUFFIX RESET RIGHT SELECT SETEOR SORT TOP UP XMACRO",
     "CHANGE HELP RECURSTOGGLE SAVEPROJ SEARCH"},
    {TableKind::General,
     "BACKUP BROWSE CANCEL CMDHISTORYRESTORE CMDHISTORYSAVE CURSOR DELEOL EDIT END EXIT FILEHEAD "
     "FILESCAN FILEPARTITION FONTSET KEY KEYS NOP PANELID PFSHOW REDIT RETRIEVE RETURN SETNAME "
     "SPLIT SWAP SWAPBACK SYSTEM USERCMD VIEW WINDOW WINDOWSAVE",
     "3270ENTER ABOUTCOPY ALIASCMD ALIASPRF BOTTOM CLEARKIVFILTERS CODBACKUPFROM CODBACKUPTO "
     "CODCMPFNEW CODCMPFOLD CODCNVCHAR CODCNVFTOF CODCNVFTOV CODCNVTERM CODCNVVTOF CODCOMPDIR1 "
     "CODCOMPDIR2 CODCOPY CODCOPYL CODCOPYMANYPATH CODCREATE CODDYNLISTNEW CODENCFILE CODDECFILE "
     "CODFILEOPEN CODFLISTPXBPATH CODMLISTPATH CODMRGPATH CODMRGLINES CODRECOVERPATH CODREGEXT "
     "CODREPLACE COLORS COMPARE COMPAREDIR CONVERT DECRYPT DECRYPTSTRING DECRYPT4 DIAGNOSE DIALOG "
     "DIALOGTEST DOWN DYNLISTNEW EDITCLRWORDS EDITOPTIONS ENCRYPT ENCRYPTSTRING ENCRYPT4 "
     "ENCSUGGEST EPCMD FAVORITENEW FILELIST FLISTMENUBAR FONTLIST FUNCTION GENOPTIONS HELP "
     "HELPTOCRFIND LEFT MAINMENU MAPNETWORKDRIVE MENU MENUBAR FLISTCOMBOMODE FLISTCOMBOSHOW "
     "FLISTCOMBOSORT FLISTCOMBOSORTDIRECTION FLISTCOMBOPROF MENUSTYLE MULTILIST OPEN "
     "OPTIONSRESTORE PATHS PCMDEDIT PCMDFILELIST POPUPMENU POSSIZESHOW PRINT PRINTSETUP "
     "PRINTSTYLE PROFILES RECENTCLEARALL RIGHT RPCMD SETSAVEDELETED SPLITF SPLITH SPLITV SUBMENU "
     "SWAPDIRECT SWAPFLIST TASKLIST TOGGLESCROLL TOP UP VARSET XLATETBLEDIT XLATETBLRESTORE"},
};

// Each table holds exactly the verbs expected, with their listed flags, in
// sorted order, each with a handler and a verb short enough to be found.
TEST(CommandTables, HoldTheVerbsWithTheirListedFlags) {
  for (const ExpectedTable& expected : kExpected) {
    std::map<std::string, bool> want;
    for (const std::string& w : words(expected.listed)) want[w] = true;
    for (const std::string& w : words(expected.unlisted)) want[w] = false;
    std::span<const CommandEntry> table = commandTable(expected.kind);
    ASSERT_EQ(table.size(), want.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
      const CommandEntry& e = table[i];
      SCOPED_TRACE(std::string(e.name));
      ASSERT_TRUE(want.count(std::string(e.name)));
      EXPECT_EQ(e.listed, want[std::string(e.name)]);
      EXPECT_NE(e.run, nullptr);
      EXPECT_LE(e.name.size(), kMaxVerbLength);
      if (i > 0) {
        EXPECT_LT(table[i - 1].name, e.name);  // sorted, so names are unique
      }
      EXPECT_EQ(lookupVerb(table, e.name), &e);
    }
  }
  EXPECT_EQ(commandTable(TableKind::General).size(), 130u);
}

// Codes are unique within a table except for the names that share one.
TEST(CommandTables, CodesUniqueExceptSharedOnes) {
  const std::set<std::pair<std::string, std::string>> shared = {
      {"FIND", "SEARCH"}, {"SPLITF", "SPLITH"}, {"SPLITF", "SPLITV"}, {"SPLITH", "SPLITV"}};
  for (TableKind kind :
       {TableKind::Dialog, TableKind::Edit, TableKind::FileList, TableKind::General}) {
    std::span<const CommandEntry> table = commandTable(kind);
    for (std::size_t i = 0; i < table.size(); ++i)
      for (std::size_t j = i + 1; j < table.size(); ++j) {
        bool mayShare = shared.count({std::string(table[i].name), std::string(table[j].name)});
        EXPECT_EQ(table[i].code == table[j].code, mayShare)
            << table[i].name << " " << table[j].name;
      }
  }
}

TEST(CommandTables, LookupIsExact) {
  std::span<const CommandEntry> edit = commandTable(TableKind::Edit);
  EXPECT_NE(lookupVerb(edit, "FIND"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "FIN"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "FINDX"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "find"), nullptr);
  EXPECT_EQ(lookupVerb(edit, ""), nullptr);
  EXPECT_EQ(lookupVerb(edit, std::string(40, 'A')), nullptr);
}

TEST(CommandTables, PrimaryCommandsLeaveOutTheDialogTable) {
  EXPECT_TRUE(isPrimaryCommand("FIND"));          // edit
  EXPECT_TRUE(isPrimaryCommand("MAKEDIR"));       // file list
  EXPECT_TRUE(isPrimaryCommand("SAVEPROJ"));      // file list, not listed
  EXPECT_TRUE(isPrimaryCommand("XLATETBLEDIT"));  // general
  EXPECT_FALSE(isPrimaryCommand("F"));
  EXPECT_FALSE(isPrimaryCommand("find"));
  EXPECT_FALSE(isPrimaryCommand("NOSUCHVERB"));
}

}  // namespace
}  // namespace kiv
