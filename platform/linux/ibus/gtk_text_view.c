/* The smallest GTK 3 application with a text view: an ordinary client of the desktop's input
 * method (GTK_IM_MODULE=ibus), for ornavel-ibus's desktop test and screenshot. */
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Ornavel GTK client");
  gtk_window_set_default_size(GTK_WINDOW(window), 560, 240);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 12);
  gtk_text_view_set_top_margin(GTK_TEXT_VIEW(view), 12);
  PangoFontDescription* font = pango_font_description_from_string("Sans 18");
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_widget_override_font(view, font);
  G_GNUC_END_IGNORE_DEPRECATIONS
  pango_font_description_free(font);
  gtk_container_add(GTK_CONTAINER(window), view);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
