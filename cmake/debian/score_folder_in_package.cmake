# Run by CPack between staging and packing: the package holds the (empty) shared score folder,
# so dpkg knows it as the game's and takes it away on removal when no scores were saved in it,
# together with /var/games when nothing else is there. The postinst gives it its group and mode.
file(MAKE_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}/var/games/gyrotide")
