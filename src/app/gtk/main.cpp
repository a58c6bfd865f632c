#include "app/gtk/application.h"

int main(int argc, char** argv) {
  valo::gtk::CVALOApp app;
  return app.run(argc, argv);
}
