#include "processor/XmlScreen.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
bool ok (const std::string& s, int depth = 16) { return isPlainWellFormedXml (s.data(), s.size(), depth); }
}

TEST (XmlScreen, AcceptsWhatAStateContains)
{
    EXPECT_TRUE (ok ("<Vesk cprog=\"0\" version=\"1\"><programs><program programname=\"a &amp; b &#38; &#x26; &lt;&gt;&quot;&apos;\"/></programs></Vesk>"));
    EXPECT_TRUE (ok ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Vesk cprog='0'>  <!-- note --><programs>  <program/>  </programs>\n</Vesk>\n"));
    EXPECT_TRUE (ok ("<VESK><Programs>text<![CDATA[<raw>]]></Programs></VESK>"));
    EXPECT_TRUE (ok ("<a><b><c/></b></a>", 3));
}

TEST (XmlScreen, RefusesWhatCouldTroubleTheParser)
{
    EXPECT_FALSE (ok (""));
    EXPECT_FALSE (ok ("no xml"));
    EXPECT_FALSE (ok ("<a>"));
    EXPECT_FALSE (ok ("<a></b>"));
    EXPECT_FALSE (ok ("<a/><b/>"));
    EXPECT_FALSE (ok ("<a x=1/>"));
    EXPECT_FALSE (ok ("<a x=\"<\"/>"));
    EXPECT_FALSE (ok ("<a>&unknown;</a>"));
    EXPECT_FALSE (ok ("<a>&#;</a>"));
    EXPECT_FALSE (ok ("<a>&#x123456789;</a>"));
    EXPECT_FALSE (ok ("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>"));
    EXPECT_FALSE (ok ("<a><?pi stuff?></a>"));
    EXPECT_FALSE (ok ("<a><!-- unterminated</a>"));
    EXPECT_FALSE (ok ("<a><b><c/></b></a>", 2)) << "too deep";
    // Found by the fuzzer: sent the framework's parser into an endless loop.
    EXPECT_FALSE (ok ("<Vesk cprog=\"1\" version=\"1\">prog=\"1\" versio.=\"1\"><programs>=\"1\"><\?\?\?>nSK>V<= p p0=\"1\"`p1=\"0ms><p<Vec\xe2\x87\x8ao\"k>"));
    EXPECT_FALSE (ok ("<VESK><Px&\v\v\v-\v\v\vam3333333333334p;y\" <\?\?\?\?\?>(\?VEon=\"0"));
}

TEST (XmlScreen, DeepNestingIsRefusedWithoutRecursion)
{
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    for (int i = 0; i < 200000; ++i)
        deep += "</a>";
    EXPECT_FALSE (ok (deep));
    EXPECT_TRUE (ok (deep, 300000));
}
