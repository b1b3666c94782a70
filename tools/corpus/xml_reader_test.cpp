#include "xml_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(XmlLangText, ReadsElementsMarkedWithTheLanguage) {
  const char* appstream = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- <name xml:lang="ug">not this</name> -->
<component type="desktop-application">
  <name>Archive Manager</name>
  <name xml:lang="ug">ئارخىپ باشقۇرغۇ</name>
  <name xml:lang='ug_CN'>ئارخىپ</name>
  <name xml:lang="uk">Архів</name>
  <summary xml:lang="ug">ھۆججەت &amp; قىسقۇچ &#x626;&#1575;</summary>
  <description>
    <p xml:lang="ug">بىرىنچى <em>ئابزاس</em></p>
    <p xml:lang="ug"><![CDATA[<b>ئىككىنچى</b>]]></p>
  </description>
  <keywords xml:lang="ug"><keyword>بىر</keyword><keyword>ئىككى</keyword></keywords>
  <url title="a > b" xml:lang="ug">ئۇلانما</url>
</component>)";
  EXPECT_THAT(read_xml_lang_text(appstream, "ug"),
              ElementsAre("ئارخىپ باشقۇرغۇ", "ئارخىپ", "ھۆججەت & قىسقۇچ ئا", "بىرىنچى ئابزاس",
                          "<b>ئىككىنچى</b>", "\nبىر\n\nئىككى\n", "ئۇلانما"));
}

TEST(XmlLangText, SelfClosingAndEmptyElementsGiveNothing) {
  EXPECT_THAT(read_xml_lang_text(R"(<a xml:lang="ug"/><b xml:lang="ug">  </b>)", "ug"), IsEmpty());
}

TEST(XmlText, SplitsAtBlockElementsAndKeepsInlineOnes) {
  const char* page = R"(<?xml version="1.0"?>
<!DOCTYPE page [ <!ENTITY x "y"> ]>
<page xml:lang="ug"><title>ماۋزۇ</title>
<p>بۇ <em>مۇھىم</em> ئابزاس<link xref="a"/>.</p>
<p>ئىككى &lt;بەت&gt;</p></page>)";
  EXPECT_THAT(read_xml_text(page), ElementsAre("ماۋزۇ", "بۇ مۇھىم ئابزاس.", "ئىككى <بەت>"));
}

TEST(XmlText, CharacterReferencesOutsideUnicodeBecomeReplacementCharacters) {
  EXPECT_THAT(read_xml_text("<p>&#x110000;|&#xD800;|&#0;|&#x10FFFF;|&#x100000041;</p>"),
              ElementsAre("\uFFFD|\uFFFD|\uFFFD|\U0010FFFF|&#x100000041;"));
}

TEST(XmlText, MalformedInputKeepsWhatCameBefore) {
  EXPECT_THAT(read_xml_text("<x>بىر</x><y>ئىككى"), ElementsAre("بىر", "ئىككى"));
  EXPECT_THAT(read_xml_text("<x>بىر</x><y attr=\"unclosed>ئىككى"), ElementsAre("بىر"));
  EXPECT_THAT(read_xml_text("<x>بىر</x><!-- open"), ElementsAre("بىر"));
  EXPECT_THAT(read_xml_text("<![CDATA[open"), IsEmpty());
  EXPECT_THAT(read_xml_text("&#xFFFFFFFFFF; &#0; &bogus;"),
              ElementsAre("&#xFFFFFFFFFF; \uFFFD &bogus;"));
  EXPECT_THAT(read_xml_lang_text("<a xml:lang=\"ug\">بىر", "ug"), IsEmpty());
}

}  // namespace
}  // namespace ornav::corpus
