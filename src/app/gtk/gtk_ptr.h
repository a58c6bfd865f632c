#ifndef VALO_APP_GTK_GTK_PTR_H_
#define VALO_APP_GTK_GTK_PTR_H_

#include <glib-object.h>

#include <memory>

namespace valo::gtk {

// Owning pointers for the GLib objects the window code holds.
struct GObjectUnref {
  void operator()(gpointer object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Takes a new reference to `object` (for objects that are only lent to us).
template <typename T>
GObjectPtr<T> retain(T* object) {
  return GObjectPtr<T>(object != nullptr ? static_cast<T*>(g_object_ref(object)) : nullptr);
}

struct GFree {
  void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct GErrorFree {
  void operator()(GError* error) const {
    if (error != nullptr) g_error_free(error);
  }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GBytesUnref {
  void operator()(GBytes* bytes) const {
    if (bytes != nullptr) g_bytes_unref(bytes);
  }
};
using GBytesPtr = std::unique_ptr<GBytes, GBytesUnref>;

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_GTK_PTR_H_
