# The fonts that travel with the page, compiled into the program.
file(GLOB web_fonts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/fonts/web/*.ttf)
qt_add_resources(kunishirabe_platform "webfonts" PREFIX "/fonts" BASE ${PROJECT_SOURCE_DIR}/assets/fonts/web
  FILES ${web_fonts})
# Qt's scale factor for one screen (PageFit) is Qt's own, not public, API.
target_link_libraries(kunishirabe_platform PRIVATE Qt6::GuiPrivate)
