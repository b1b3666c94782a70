#include "web_page.h"

namespace ornav::service {
namespace {

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\n':
        out += "<br>";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The form posts the application's feedback body; a page has no device, so each visit makes a
// random one.
constexpr const char* kForm = R"html(
<form id="form"><p><textarea name="message" rows="8" cols="60" required></textarea></p>
<p><input name="contact" size="40" placeholder="联系方式（可选）"> <button>提交反馈</button></p></form>
<p id="result"></p>
<script>
const device = 'web-' + Math.random().toString(36).slice(2, 14);
form.onsubmit = async (event) => {
  event.preventDefault();
  const data = new FormData(form);
  const body = {message: data.get('message'), contact: data.get('contact'), device,
                version: '', host: 'web', os: '', time: new Date().toISOString()};
  const answer = await fetch('api/ornav-ime/feedback', {method: 'POST',
      headers: {'Content-Type': 'application/json'}, body: JSON.stringify(body)})
      .then((r) => r.json()).catch(() => ({}));
  result.textContent = answer.ok ? '反馈已提交，感谢你的帮助。' : (answer.message || '提交失败，请稍后重试');
};
</script>
)html";

}  // namespace

std::string webPage(const AboutText& about) {
  const std::string title = escaped(about.title.value_or("Ornavel"));
  std::string page = "<!doctype html>\n<html lang=\"zh\"><head><meta charset=\"utf-8\"><title>" +
                     title + "</title></head>\n<body><h1>" + title + "</h1>\n";
  if (about.description) page += "<p>" + escaped(*about.description) + "</p>\n";
  page += kForm;
  if (about.copyright) page += "<footer>" + escaped(*about.copyright) + "</footer>\n";
  page += "</body></html>\n";
  return page;
}

}  // namespace ornav::service
