// Installs the site's offline copy (sw.js, from service_worker.js.in) once
// the page has loaded, so that it takes nothing from the start-up. The page
// starts the program once its window has been drawn, which may be before or
// after the page's load event.
if ('serviceWorker' in navigator && window.isSecureContext) {
  (function (register) {
    if (document.readyState === 'complete')
      register();
    else
      window.addEventListener('load', register);
  })(function () {
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('Emberline works online only here:', error);
    });
  });
}
