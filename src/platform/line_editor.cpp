#include "platform/line_editor.hpp"

#include <histedit.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/terminal.hpp"

namespace kestrova::platform {

namespace {

// Marks the stretches of the prompt that take no room on the screen (its colour sequences).
constexpr char kInvisible = '\1';

// What readCharacter needs of the editor that reads.
struct Reading {
  sigset_t waitMask;  // the signal mask while waiting for a key: Ctrl-C's signal let through
};

// Reads one character for the editor, decoded in the editing locale. SIGINT is blocked while a line
// is edited and let through only while a key is awaited, so that a Ctrl-C typed at any moment ends
// the wait with EINTR: the line is ended, and dropped, as the terminal drops it outside the editor.
int readCharacter(EditLine* editLine, wchar_t* character) {
  void* data = nullptr;
  el_get(editLine, EL_CLIENTDATA, &data);
  const Reading& reading = *static_cast<const Reading*>(data);
  std::mbstate_t state{};
  for (;;) {
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    if (ppoll(&ready, 1, nullptr, &reading.waitMask) < 0) return -1;
    char byte = 0;
    const ssize_t got = read(STDIN_FILENO, &byte, 1);
    if (got == 0) return 0;
    if (got < 0) return -1;
    const std::size_t used = std::mbrtowc(character, &byte, 1, &state);
    if (used == static_cast<std::size_t>(-2)) continue;  // more bytes of the same character follow
    if (used == static_cast<std::size_t>(-1)) {
      state = std::mbstate_t{};  // no character of the locale: left out
      continue;
    }
    return 1;
  }
}

// The user's character set for editing, only while a line is edited (the rest of the program
// keeps the C locale). Without any locale set, UTF-8, which a terminal of today sends.
locale_t editingLocale() {
  locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (locale != static_cast<locale_t>(0) && std::strcmp(nl_langinfo_l(CODESET, locale), "ANSI_X3.4-1968") != 0) {
    return locale;
  }
  if (locale != static_cast<locale_t>(0)) freelocale(locale);
  return newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
}

// The editing locale for the thread while it lives.
class EditingLocale {
 public:
  explicit EditingLocale(locale_t locale)
      : previous_(locale != static_cast<locale_t>(0) ? uselocale(locale) : static_cast<locale_t>(0)) {}
  ~EditingLocale() {
    if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
  }
  EditingLocale(const EditingLocale&) = delete;
  EditingLocale& operator=(const EditingLocale&) = delete;

 private:
  locale_t previous_;
};

}  // namespace

struct LineEditor::Impl : Reading {
  EditLine* editLine = nullptr;
  History* history = nullptr;
  HistEvent event{};
  locale_t locale = static_cast<locale_t>(0);
  std::string prompt;

  static char* promptOf(EditLine* editLine) {
    void* data = nullptr;
    el_get(editLine, EL_CLIENTDATA, &data);
    return static_cast<Impl*>(static_cast<Reading*>(data))->prompt.data();
  }
};

LineEditor::LineEditor() : impl_(std::make_unique<Impl>()) {
  impl_->locale = editingLocale();
  // libedit learns at its start which characters it may insert.
  const EditingLocale editing(impl_->locale);
  impl_->editLine = el_init("kestrova", stdin, stdout, stderr);
  impl_->history = history_init();
  if (impl_->editLine == nullptr || impl_->history == nullptr) return;
  history(impl_->history, &impl_->event, H_SETSIZE, 100);
  el_set(impl_->editLine, EL_CLIENTDATA, static_cast<Reading*>(impl_.get()));
  el_set(impl_->editLine, EL_PROMPT_ESC, &Impl::promptOf, kInvisible);
  el_set(impl_->editLine, EL_EDITOR, "emacs");
  el_set(impl_->editLine, EL_HIST, history, impl_->history);
  el_set(impl_->editLine, EL_GETCFN, readCharacter);
  // No EL_SIGNAL: libedit's handlers would send the signal on to the whole process group, an
  // engine included.
  el_source(impl_->editLine, nullptr);  // the user's ~/.editrc, as every libedit program reads it
}

bool LineEditor::ready() const { return impl_->editLine != nullptr && impl_->history != nullptr; }

LineEditor::~LineEditor() {
  if (impl_->editLine != nullptr) el_end(impl_->editLine);
  if (impl_->history != nullptr) history_end(impl_->history);
  if (impl_->locale != static_cast<locale_t>(0)) freelocale(impl_->locale);
}

void LineEditor::setHistory(std::span<const std::string> newestFirst) {
  history(impl_->history, &impl_->event, H_CLEAR);
  for (auto entry = newestFirst.rbegin(); entry != newestFirst.rend(); ++entry) {
    history(impl_->history, &impl_->event, H_ENTER, entry->c_str());
  }
}

bool LineEditor::readLine(std::string& line, std::size_t limit, std::string_view prompt, int attribute) {
  line.clear();
  // libedit draws an invisible stretch with the character after it, so the colour ends before the
  // prompt's last character (a blank).
  impl_->prompt.clear();
  if (wantsColour(STDOUT_FILENO) && !prompt.empty()) {
    impl_->prompt.append(1, kInvisible).append(ansiSequence(attribute)).append(1, kInvisible);
    impl_->prompt.append(prompt.substr(0, prompt.size() - 1));
    impl_->prompt.append(1, kInvisible).append(ansiSequence(7)).append(1, kInvisible);
    impl_->prompt.append(prompt.substr(prompt.size() - 1));
  } else {
    impl_->prompt.assign(prompt);
  }
  const EditingLocale editing(impl_->locale);
  sigset_t interrupt, previous;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
  impl_->waitMask = previous;
  sigdelset(&impl_->waitMask, SIGINT);
  const char* text = nullptr;
  int count = 0;
  for (;;) {
    // The terminal is in edit mode before the prompt shows: keys typed as soon as it is seen are
    // never taken by the terminal's own line editing.
    el_set(impl_->editLine, EL_PREP_TERM, 1);
    text = el_gets(impl_->editLine, &count);
    if (text != nullptr || count != -1 || errno != EINTR) break;
    std::fputs("\n", stdout);  // Ctrl-C: the line typed so far is dropped, a fresh prompt follows
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (text == nullptr || count <= 0) return false;
  line.assign(text, static_cast<std::size_t>(count));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.size() > limit) line.resize(limit);
  return true;
}

}  // namespace kestrova::platform
