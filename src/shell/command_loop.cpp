#include "shell/command_loop.hpp"

#include <exception>
#include <new>
#include <optional>
#include <vector>

#include "platform/interrupt.hpp"
#include "platform/line_editor.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"
#include "shell/help.hpp"
#include "shell/lifecycle.hpp"

namespace kestrova {

namespace {

constexpr const char* kPrompt = "\n\nkestrova> ";
constexpr const char* kPromptWord = "kestrova> ";

// Shows the prompt and reads a command line: at a terminal through the line editor, whose up
// arrow walks through the history of "r"; from a pipe or a file plainly. False at end of input.
bool readCommandLine(App& app, std::optional<platform::LineEditor>& editor, std::string& raw) {
  if (!editor) {
    app.console.writeText(kPrompt, colour::kBright);
    app.console.flush();
    return app.input.readLine(raw, CommandLine::kMaxLine);
  }
  app.console.writeText("\n\n");
  app.console.flush();
  std::vector<std::string> entries;
  for (std::size_t k = 1; k <= CommandHistory::kEntries && app.history.isUsed(k); ++k) {
    if (!app.history.entry(k).empty()) entries.push_back(app.history.entry(k));  // nothing to recall
  }
  editor->setHistory(entries);
  return editor->readLine(raw, CommandLine::kMaxLine, kPromptWord, colour::kBright);
}

// A handler never ends the program: what it could not survive is reported here. A command starts
// with no failure and no pending Ctrl-C.
int dispatchGuarded(App& app) {
  app.console.clearFailed();
  platform::clearInterrupt();
  try {
    return dispatchCommand(app);
  } catch (const std::bad_alloc&) {
    app.console.fail("\n> not enough memory for this command\n");
  } catch (const std::exception& error) {
    app.console.fail("\n> command stopped: %s\n", error.what());
  }
  return 1;
}

// The history menu. Returns 1 when an entry was put into the raw text, -1 when the user left.
int runRecall(App& app) {
  CommandLine& line = app.commandLine;
  if (line.wantsHelp()) {
    showCommandHelp(app, "recall");
    return -1;
  }
  for (;;) {
    app.console.writeText("\n");
    for (std::size_t k = 1; k <= CommandHistory::kEntries && app.history.isUsed(k); ++k) {
      app.console.print(colour::kNormal, "%zu : %s\n", k, app.history.entry(k).c_str());
    }
    app.console.writeText("x : to exit this mode\n\n\n- please enter a number of the list : ");
    app.console.flush();
    const int answer = app.input.readAnswer();
    if (answer == EOF || answer == 'x') return -1;
    if (answer < '1' || answer > '9') continue;
    const std::size_t k = static_cast<std::size_t>(answer - '0');
    app.console.writeText(kPrompt, colour::kBright);
    const std::string entry = app.history.isUsed(k) ? app.history.entry(k) : std::string();
    app.console.print(colour::kNormal, "%s\n", entry.c_str());
    line.raw() = entry;
    return 1;
  }
}

}  // namespace

int runInteractive(App& app) {
  CommandLine& line = app.commandLine;
  std::optional<platform::LineEditor> editor;
  if (app.input.fromTerminal() && app.console.isTerminal()) editor.emplace();
  if (editor && !editor->ready()) editor.reset();
  bool recalled = false;
  while (!app.finished) {
    if (!recalled) {
      if (!readCommandLine(app, editor, line.raw())) {
        // End of input is the user leaving: end as the exit command would.
        app.console.writeText("\n");
        shutDown(app);
        return exitstatus::kSuccess;
      }
    }
    recalled = false;
    line.split(line.raw());
    const bool isRecall = line.matchWord(0, "r") || line.matchWord(0, "recall");
    if (!isRecall && !app.history.remember(line.raw())) {
      app.console.fail("> can't write the file \"%s\": %s; it is left as it was\n", CommandHistory::kFile,
                       app.history.saveError().c_str());
    }
    if (!line.hasWord(0)) continue;
    // A Ctrl-C meant for an earlier command, or typed at the prompt, must not stop this one.
    platform::clearInterrupt();
    if (isRecall) {
      recalled = runRecall(app) == 1;
      continue;
    }
    if (dispatchGuarded(app) == 0) {
      app.console.writeText(
          "- unknown command or missing parameter\n"
          "- Please, type 'help' or ' /?'just after the command name for more informations");
    }
    app.console.flush();
  }
  return exitstatus::kSuccess;
}

int runBatch(App& app, std::span<const std::string> arguments) {
  constexpr std::size_t kMaxBatchLine = 1023;
  app.batchMode = true;
  int status = exitstatus::kSuccess;
  if (!arguments.empty() && !isCommandWord(arguments[0])) {
    app.console.fail("unknown command '%s'\n", arguments[0].c_str());
    status = exitstatus::kUnknownCommand;
  }
  std::size_t next = 0;
  while (status != exitstatus::kUnknownCommand && next < arguments.size() && isCommandWord(arguments[next])) {
    std::string joined = arguments[next++];
    while (next < arguments.size() && !isCommandWord(arguments[next])) {
      const std::string& argument = arguments[next++];
      joined += ' ';
      // The shell has already taken the quotes away; put them back round a name with blanks.
      if (argument.find(' ') != std::string::npos) joined += '"' + argument + '"';
      else joined += argument;
    }
    if (joined.size() > kMaxBatchLine) joined.resize(kMaxBatchLine);
    app.commandLine.raw() = joined;
    app.commandLine.split(joined);
    dispatchGuarded(app);
    app.console.flush();
    if (app.console.failed()) status = exitstatus::kFailure;
    if (platform::interruptRequested()) {
      status = exitstatus::kInterrupted;
      break;
    }
  }
  app.batchMode = false;
  shutDown(app);
  return status;
}

}  // namespace kestrova
