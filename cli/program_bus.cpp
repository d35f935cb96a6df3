#include "cli/program_bus.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "cli/commands.h"
#include "model/program_bus_names.h"

namespace ms1::cli {
namespace {

// Frees what sd-bus handed out when the scope ends.
struct Reply {
  sd_bus_message* message = nullptr;
  ~Reply() { sd_bus_message_unref(message); }
};
struct Error {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  ~Error() { sd_bus_error_free(&error); }
};

void FailOn(int result, const Error& e, const char* what) {
  if (result >= 0) return;
  if (sd_bus_error_is_set(&e.error) && e.error.message != nullptr) Fail(e.error.message);
  Fail(std::string("the program did not answer ") + what);
}

std::vector<std::string> ReadStrings(sd_bus_message* message) {
  std::vector<std::string> items;
  if (sd_bus_message_enter_container(message, 'a', "s") < 0) return items;
  const char* item = nullptr;
  while (sd_bus_message_read(message, "s", &item) > 0) items.emplace_back(item);
  sd_bus_message_exit_container(message);
  return items;
}

}  // namespace

std::unique_ptr<ProgramBus> ProgramBus::Connect() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return nullptr;
  std::unique_ptr<ProgramBus> program(new ProgramBus(bus));
  Error e;
  Reply reply;
  int owned = 0;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus", "NameHasOwner", &e.error, &reply.message, "s",
                         kBusName) < 0 ||
      sd_bus_message_read(reply.message, "b", &owned) < 0 || owned == 0) {
    return nullptr;
  }
  return program;
}

ProgramBus::~ProgramBus() {
  sd_bus_flush_close_unref(bus_);
}

bool ProgramBus::Serves(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto theirs = std::filesystem::weakly_canonical(StringProperty("DataFolder"), ec);
  const auto ours = std::filesystem::weakly_canonical(folder, ec);
  return !ec && theirs == ours;
}

sd_bus_message* ProgramBus::CallWith(const char* method, const std::vector<std::string>& args) {
  Reply call;
  if (sd_bus_message_new_method_call(bus_, &call.message, kBusName, kBusPath, kBusInterface,
                                     method) < 0) {
    Fail("cannot call the program on the session bus");
  }
  for (const std::string& arg : args) sd_bus_message_append(call.message, "s", arg.c_str());
  Error e;
  sd_bus_message* reply = nullptr;
  FailOn(sd_bus_call(bus_, call.message, 0, &e.error, &reply), e, method);
  return reply;
}

void ProgramBus::Call(const char* method, const std::vector<std::string>& args) {
  sd_bus_message_unref(CallWith(method, args));
}

std::string ProgramBus::ImportProfile(const std::string& file, int& index,
                                      std::vector<std::string>& macros_added) {
  Reply reply{CallWith("ImportProfile", {file})};
  const char* name = "";
  sd_bus_message_read(reply.message, "si", &name, &index);
  std::string added_name = name;
  macros_added = ReadStrings(reply.message);
  return added_name;
}

std::string ProgramBus::ImportMacro(const std::string& file, int& index) {
  Reply reply{CallWith("ImportMacro", {file})};
  const char* name = "";
  sd_bus_message_read(reply.message, "si", &name, &index);
  return name;
}

std::string ProgramBus::StringProperty(const char* name) {
  Error e;
  char* value = nullptr;
  FailOn(
      sd_bus_get_property_string(bus_, kBusName, kBusPath, kBusInterface, name, &e.error, &value),
      e, name);
  std::string text = value;
  free(value);
  return text;
}

std::vector<std::string> ProgramBus::StringsProperty(const char* name) {
  Error e;
  Reply reply;
  FailOn(sd_bus_get_property(bus_, kBusName, kBusPath, kBusInterface, name, &e.error,
                             &reply.message, "as"),
         e, name);
  return ReadStrings(reply.message);
}

// sd-bus reads 'i' into an int32_t and 'b' into an int.
template <typename Value>
Value ProgramBus::TrivialProperty(const char* name, char type) {
  Error e;
  Value value = 0;
  FailOn(sd_bus_get_property_trivial(bus_, kBusName, kBusPath, kBusInterface, name, &e.error, type,
                                     &value),
         e, name);
  return value;
}

int ProgramBus::IntProperty(const char* name) {
  return TrivialProperty<int32_t>(name, 'i');
}

bool ProgramBus::BoolProperty(const char* name) {
  return TrivialProperty<int>(name, 'b') != 0;
}

void ProgramBus::FollowChanges(const std::function<void(const std::string& name)>& changed) {
  struct Follow {
    const std::function<void(const std::string&)>* changed;
    bool gone = false;
  } follow{&changed};
  const auto on_change = [](sd_bus_message* m, void* data, sd_bus_error*) {
    const char* interface = nullptr;
    if (sd_bus_message_read(m, "s", &interface) < 0 || std::string(interface) != kBusInterface) {
      return 0;
    }
    if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) return 0;
    while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
      const char* property = nullptr;
      sd_bus_message_read(m, "s", &property);
      sd_bus_message_skip(m, "v");
      sd_bus_message_exit_container(m);
      (*static_cast<Follow*>(data)->changed)(property);
    }
    return 0;
  };
  const auto on_owner = [](sd_bus_message* m, void* data, sd_bus_error*) {
    const char *name = nullptr, *old_owner = nullptr, *new_owner = nullptr;
    if (sd_bus_message_read(m, "sss", &name, &old_owner, &new_owner) >= 0 && *new_owner == '\0') {
      static_cast<Follow*>(data)->gone = true;
    }
    return 0;
  };
  sd_bus_slot* changes = nullptr;
  sd_bus_slot* owner = nullptr;
  if (sd_bus_match_signal(bus_, &changes, kBusName, kBusPath, "org.freedesktop.DBus.Properties",
                          "PropertiesChanged", on_change, &follow) < 0 ||
      sd_bus_match_signal(bus_, &owner, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "NameOwnerChanged", on_owner, &follow) < 0) {
    Fail("cannot follow the program on the session bus");
  }
  // SIGINT and SIGTERM end the watch through a descriptor, like the bus's.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  sigprocmask(SIG_BLOCK, &stop, nullptr);
  const int signals = signalfd(-1, &stop, SFD_CLOEXEC);
  while (!follow.gone) {
    while (sd_bus_process(bus_, nullptr) > 0) {
    }
    if (follow.gone) break;
    pollfd fds[] = {{sd_bus_get_fd(bus_), static_cast<short>(sd_bus_get_events(bus_)), 0},
                    {signals, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
    if ((fds[1].revents & POLLIN) != 0) break;
    if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) break;
  }
  if (signals >= 0) close(signals);
  sd_bus_slot_unref(changes);
  sd_bus_slot_unref(owner);
}

}  // namespace ms1::cli
