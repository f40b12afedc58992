#include "commands.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "demo_command.h"
#include "image_commands.h"

namespace kelvane::sim_tool {

int RunKelvaneSim(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  CLI::App app{"kelvane-sim: a Windows machine simulated in a folder, with Kelvane 2010 on it"};
  app.require_subcommand(1);
  std::string image;
  bool demo = false;
  bool newerOffice = false;
  std::vector<std::string> clicks;

  auto* init = app.add_subcommand("init", "a fresh Windows 7 machine image (with --demo: Office 2010 on it)");
  init->add_option("IMAGE", image, "the machine image folder")->required();
  auto* demoFlag = init->add_flag("--demo", demo, "add what an Office 2010 installation leaves");
  init->add_flag("--with-newer-office", newerOffice, "with --demo: an Office 2016 installed beside Office 2010")
      ->needs(demoFlag);
  ImageShape shape;
  auto* x64Flag = init->add_flag("--x64", shape.sixtyFourBit, "a 64-bit Windows 7, with the 64-bit edition unless --edition 32");
  init->add_option("--edition", shape.edition, "with --x64 and --demo: the Office edition, 32 or 64")
      ->check(CLI::IsMember({32, 64}))
      ->needs(x64Flag)
      ->needs(demoFlag);
  auto* start = app.add_subcommand("start", "log on and start the tool, then act for the user");
  start->add_option("IMAGE", image, "the machine image folder")->required();
  start->add_option("--click", clicks, "a control to click or close:WINDOW, in order; none: interactive");
  std::string toolArguments;
  start->add_option("--args", toolArguments, "the tool's command line, as a deployment system gives it");
  auto* boot = app.add_subcommand("boot", "carry out a pending restart, log on, start the Startup shortcuts");
  boot->add_option("IMAGE", image, "the machine image folder")->required();
  boot->add_option("--click", clicks, "a control to click or close:WINDOW, in order; none: interactive");
  LogOn logOn;
  auto* userOption = boot->add_option("--user", logOn.user, "log on another user by name (C:\\Users\\NAME), a standard one");
  boot->add_flag("--admin", logOn.administrator, "with --user: that user is an administrator")->needs(userOption);
  auto* cycle = app.add_subcommand("cycle", "start and click btnGo, boot, click Finish");
  cycle->add_option("IMAGE", image, "the machine image folder")->required();
  auto* report = app.add_subcommand("report", "the Office 2010 traces that remain; exit 1 when there are any");
  report->add_option("IMAGE", image, "the machine image folder")->required();
  auto* demoCommand = app.add_subcommand("demo", "init --demo in a temporary folder, report, cycle, report");

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return status == 0 ? kExitDone : kExitBadUsage;
  }
  if (init->parsed()) {
    if (!shape.sixtyFourBit) shape.edition = 32;
    return InitImage(image, demo, err, newerOffice, shape);
  }
  if (start->parsed()) return StartOnImage(image, clicks, toolArguments, in, out, err);
  if (boot->parsed()) return BootImage(image, clicks, in, out, err, logOn);
  if (cycle->parsed()) return CycleImage(image, out, err);
  if (report->parsed()) return ReportImage(image, out, err);
  if (demoCommand->parsed()) return RunDemo(out, err);
  return kExitBadUsage;
}

}  // namespace kelvane::sim_tool
