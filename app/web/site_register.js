// Installs the site's offline copy (sw.js, from service_worker.js.in) once
// the page has loaded, so that it takes nothing from the start-up.
if ('serviceWorker' in navigator && window.isSecureContext) {
  window.addEventListener('load', function () {
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('Emberline works online only here:', error);
    });
  });
}
