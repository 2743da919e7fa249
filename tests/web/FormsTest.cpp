// Forms as the scanner turns them into submission addresses, and how the fetcher
// splits such an address again.

#include <gtest/gtest.h>

#include "ScanTestSupport.h"
#include "web/Forms.h"

namespace qn {
namespace {

using test::ScanPage;
using Strings = std::vector<std::string>;

CQNSettings FormSettings(bool dropDowns, bool logins) {
  CQNSettings settings;
  settings.ProcessForms = dropDowns ? 1 : 0;
  settings.SubmitLoginForms = logins ? 1 : 0;
  settings.QN_USER_ID = "jane";
  settings.QN_PASSWORD = "s3cret";
  return settings;
}

constexpr std::string_view kLoginForm =
    "<FORM METHOD=POST ACTION=login.asp>\n"
    "<INPUT NAME=user TYPE=text>\n"
    "<INPUT NAME=\"pass\" TYPE=\"password\">\n"
    "<INPUT TYPE=submit VALUE=\"Log in\">\n"
    "</FORM>";

TEST(FormsTest, LoginFormsPostTheProjectsCredentials) {
  const auto page = ScanPage(kLoginForm, FormSettings(false, true));
  ASSERT_EQ(page.Texts(), Strings({"login.asp?qnlogin.user=jane&pass=s3cret"}));
  EXPECT_EQ(page.links[0].address, "http://host/dir/login.asp?qnlogin.user=jane&pass=s3cret");
  EXPECT_EQ(page.links[0].tag, kTagForm);
  EXPECT_TRUE(ScanPage(kLoginForm, FormSettings(true, false)).links.empty());

  // Hidden, checkbox and radio inputs keep their values, checked or not; a named
  // submit button is collected but not posted.
  const auto full = ScanPage(
      "<form method=\"post\" action=\"/auth\"><input type=hidden name=t value=42>"
      "<input name=login><input type=password name=pw>"
      "<input type=checkbox name=keep value=yes><input type=radio name=r value=b>"
      "<input type=submit name=go value=Go></form>",
      FormSettings(false, true));
  EXPECT_EQ(full.Addresses(),
            Strings({"http://host/auth?qnlogin.t=42&login=jane&pw=s3cret&keep=yes&r=b"}));
}

TEST(FormsTest, TheLoginPasswordIsMaskedWhateverItHolds) {
  EXPECT_EQ(
      MaskLoginPassword(" Error 404 - 'http://h/a.asp?qnlogin.u=jane&p=s3cret&k=1'", "s3cret"),
      " Error 404 - 'http://h/a.asp?qnlogin.u=jane&p=*****&k=1'");
  // A password with the characters that end a field or an address is hidden whole.
  for (const std::string password : {"a&b=c", "two words", "it's", "x&p=y"}) {
    const std::string masked =
        MaskLoginPassword("'h/l.asp?qnlogin.p=" + password + "&u=jane' found", password);
    EXPECT_EQ(masked, "'h/l.asp?qnlogin.p=*****&u=jane' found") << password;
  }
  // Only whole values are the password, and only in a login address.
  EXPECT_EQ(MaskLoginPassword("h/l.asp?qnlogin.u=s3cretly", "s3cret"),
            "h/l.asp?qnlogin.u=s3cretly");
  EXPECT_EQ(MaskLoginPassword("h/q.asp?p=s3cret", "s3cret"), "h/q.asp?p=s3cret");
  EXPECT_EQ(MaskLoginPassword("h/l.asp?qnlogin.p=", ""), "h/l.asp?qnlogin.p=");
}

TEST(FormsTest, LoginFormsNeedAUsableInputList) {
  const CQNSettings settings = FormSettings(false, true);
  // An unnamed input before the password field ends the collection.
  EXPECT_TRUE(ScanPage("<FORM METHOD=POST ACTION=a.asp><INPUT NAME=u><INPUT TYPE=text>"
                       "<INPUT NAME=p TYPE=password></FORM>",
                       settings)
                  .links.empty());
  // A password field alone is no login.
  EXPECT_TRUE(
      ScanPage("<FORM METHOD=POST ACTION=a.asp><INPUT NAME=p TYPE=password></FORM>", settings)
          .links.empty());
  // A password field first: the user name is the input after it.
  EXPECT_EQ(ScanPage("<FORM METHOD=POST ACTION=a.asp><INPUT NAME=p TYPE=PASSWORD>"
                     "<INPUT NAME=u></FORM>",
                     settings)
                .Texts(),
            Strings({"a.asp?qnlogin.p=s3cret&u=jane"}));
  // Only the first password field is filled in.
  EXPECT_EQ(ScanPage("<FORM METHOD=POST ACTION=a.asp><INPUT NAME=u><INPUT NAME=p TYPE=password>"
                     "<INPUT NAME=p2 TYPE=password VALUE=x></FORM>",
                     settings)
                .Texts(),
            Strings({"a.asp?qnlogin.u=jane&p=s3cret&p2=x"}));
  // A GET form is never a login.
  EXPECT_EQ(
      ScanPage("<FORM ACTION=a.asp><INPUT NAME=u><INPUT NAME=p TYPE=password></FORM>", settings)
          .Texts(),
      Strings({"a.asp"}));
}

TEST(FormsTest, DropDownListsGiveOneSubmissionPerOption) {
  constexpr std::string_view form =
      "<FORM METHOD=\"post\" ACTION=\"show.asp\">\n"
      "<SELECT NAME=\"page\">\n"
      "<OPTION VALUE=1>One\n"
      "<OPTION SELECTED>  Two</OPTION>\n"
      "</SELECT>\n"
      "<SELECT NAME=other><OPTION>Three</SELECT>\n"
      "</FORM>";
  EXPECT_EQ(ScanPage(form, FormSettings(true, false)).Texts(),
            Strings({"show.asp?qnpost.page=One", "show.asp?qnpost.page=Two"}));
  EXPECT_TRUE(ScanPage(form, FormSettings(false, false)).links.empty());

  // The last option without "</OPTION>" ends before "</SELECT>".
  EXPECT_EQ(ScanPage("<FORM METHOD=POST ACTION=s.asp><SELECT NAME=n><OPTION>A<OPTION>B</SELECT>"
                     "</FORM>",
                     FormSettings(true, false))
                .Texts(),
            Strings({"s.asp?qnpost.n=A", "s.asp?qnpost.n=B"}));
  // A SELECT without a name is not expanded.
  EXPECT_TRUE(ScanPage("<FORM METHOD=POST ACTION=s.asp><SELECT><OPTION>A</SELECT></FORM>",
                       FormSettings(true, false))
                  .links.empty());
}

TEST(FormsTest, ActionsAndMethods) {
  // A GET form reports its action only.
  EXPECT_EQ(ScanPage("<FORM ACTION=\"search.cgi\" METHOD=get><INPUT NAME=q></FORM>").Addresses(),
            Strings({"http://host/dir/search.cgi"}));
  EXPECT_TRUE(ScanPage("<FORM METHOD=GET><INPUT NAME=q></FORM>").links.empty());
  // A POST form without an action posts to its own page, without its query.
  EXPECT_EQ(ScanPage("<FORM METHOD=POST ACTION=\"\"><SELECT NAME=p><OPTION>1</SELECT></FORM>",
                     FormSettings(true, false), "http://host/list.asp?x=1")
                .Addresses(),
            Strings({"http://host/list.asp?qnpost.p=1"}));
  // Inputs named like the form's attributes are not the form's attributes.
  EXPECT_EQ(ScanPage("<FORM METHOD=POST><INPUT TYPE=hidden NAME=\"action\" VALUE=\"login\">"
                     "<SELECT NAME=p><OPTION>1</SELECT></FORM>",
                     FormSettings(true, false))
                .Addresses(),
            Strings({"http://host/dir/page.htm?qnpost.p=1"}));
  EXPECT_EQ(ScanPage("<FORM ACTION=go.asp onsubmit=\"check('x.htm')\"></FORM>").Texts(),
            Strings({"go.asp", "x.htm"}));
}

TEST(FormsTest, InputsAndBodies) {
  const std::string text =
      "<INPUT NAME='a' TYPE=Text VALUE=\"1 2\"><INPUT NAME=b VALUE=\"x>y\">"
      "<INPUT NAME=" +
      std::string(200, 'n') + ">";
  QNScanText scan(text);
  const auto inputs = CollectFormInputs(scan, 0, scan.Size());
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_EQ(inputs[0].type, "Text");
  EXPECT_EQ(inputs[0].value, "1 2");
  // A value that runs past the tag's ">" does not count.
  EXPECT_EQ(inputs[1].value, "");
  EXPECT_EQ(inputs[2].name.size(), kMaxInputText);

  EXPECT_FALSE(MakeLoginBody({}, "u", "p"));
  EXPECT_EQ(MakeLoginBody({{"u", "", ""}, {"p", "password", ""}, {"f", "file", "z"}}, "me", "pw"),
            "u=me&p=pw");
}

TEST(FormsTest, SubmissionAddressesSplitIntoPostRequests) {
  QNSubmission post = SplitSubmission("/show.asp?qnpost.page=One");
  EXPECT_TRUE(post.post);
  EXPECT_EQ(post.object, "/show.asp");
  EXPECT_EQ(post.body, "page=One");
  QNSubmission login = SplitSubmission("/login.asp?qnlogin.user=a&pass=b");
  EXPECT_TRUE(login.post);
  EXPECT_EQ(login.object, "/login.asp");
  EXPECT_EQ(login.body, "user=a&pass=b");
  QNSubmission get = SplitSubmission("/page.asp?QNPOST.x=1");
  EXPECT_FALSE(get.post);
  EXPECT_EQ(get.object, "/page.asp?QNPOST.x=1");
  EXPECT_TRUE(get.body.empty());
}

}  // namespace
}  // namespace qn
